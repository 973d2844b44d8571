#!/usr/bin/env bash
# scripts/medium with a package folder of its own (--no-build --no-run): a
# package with errors is refused and no medium is made; a clean one is laid
# out with the built programs beside its files; a folder that holds other
# things is never overwritten.
#   medium_script_test.sh SOURCE_DIR BUILD_DIR WINE_PREFIX
set -uo pipefail
root=$1 build=$2
export MEDIUM_PREFIX=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0 failed=0

check() {
  if eval "$2"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
  fi
}

# A vendor's package: the sample with its program and component in it.
make_package() {
  cp -R "$root/examples/sample-package" "$1"
  cp "$build/examples/sample-app/CardTool.exe" "$build/examples/sample-component/CardReg.dll" "$1"/
}

make_package "$scratch/faulty"
rm "$scratch/faulty/readme.txt"
output=$("$root/scripts/medium" --no-build --no-run "$scratch/faulty" "$scratch/faulty-medium" 2>&1)
code=$?
echo "$output"
check "a package with errors is refused" '[ $code -ne 0 ]'
check "the findings are shown" 'grep -q "installE.INF:13: error: \[Install\] entry 3: readme.txt is not in the package" <<<"$output"'
check "the refusal is told" 'grep -q "the package has errors; no medium is made" <<<"$output"'
check "no medium is made" '[ ! -e "$scratch/faulty-medium" ]'

make_package "$scratch/clean"
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/medium" 2>&1)
code=$?
echo "$output"
check "a clean package gets its medium" '[ $code -eq 0 ]'
check "install.exe is laid beside the files" 'cmp -s "$build/installer/install.exe" "$scratch/medium/install.exe"'
check "Setup.exe is laid beside the files" 'cmp -s "$build/driver_setup/Setup.exe" "$scratch/medium/Setup.exe"'
check "Setup64.exe is laid into x64" '[ -s "$scratch/medium/x64/Setup64.exe" ]'
check "the package's files are there unchanged" 'diff -r -x install.exe -x Setup.exe -x Setup64.exe "$scratch/clean" "$scratch/medium" >/dev/null'

mkdir "$scratch/documents"
echo "a letter" >"$scratch/documents/letter.txt"
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/documents" 2>&1)
code=$?
check "a folder with other files is refused" '[ $code -ne 0 ] && grep -q "holds no medium" <<<"$output"'
check "and keeps its files" '[ "$(cat "$scratch/documents/letter.txt")" = "a letter" ]'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
