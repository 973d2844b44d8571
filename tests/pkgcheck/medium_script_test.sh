#!/usr/bin/env bash
# scripts/medium with a package folder of its own (--no-build --no-run): a
# package with errors is refused and no medium is made; a clean one is laid
# out with the built programs beside its files, every file with its write
# time; a folder that holds other things is never overwritten; a vendor's
# built files are checked and laid out; the medium is signed and written as
# an ISO image that keeps names and times.
#   medium_script_test.sh SOURCE_DIR BUILD_DIR(i686) WINE_PREFIX
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
touch -d "2020-02-03 04:05:06" "$scratch/clean/common/CardPrinterReadme.txt"
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/medium" 2>&1)
code=$?
echo "$output"
check "a clean package gets its medium" '[ $code -eq 0 ]'
check "install.exe is laid beside the files" 'cmp -s "$build/installer/install.exe" "$scratch/medium/install.exe"'
check "Setup.exe is laid beside the files" 'cmp -s "$build/driver_setup/Setup.exe" "$scratch/medium/Setup.exe"'
check "Setup64.exe is laid into x64" '[ -s "$scratch/medium/x64/Setup64.exe" ]'
check "the package's files are there unchanged" 'diff -r -x install.exe -x Setup.exe -x Setup64.exe -x .medium-layout "$scratch/clean" "$scratch/medium" >/dev/null'
check "and keep their write times" '[ "$(stat -c %Y "$scratch/medium/common/CardPrinterReadme.txt")" = "$(date -d "2020-02-03 04:05:06" +%s)" ]'
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/medium" 2>&1)
check "an earlier medium is laid out anew" '[ $? -eq 0 ] && [ -f "$scratch/medium/install.exe" ]'

mkdir "$scratch/documents"
echo "a letter" >"$scratch/documents/letter.txt"
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/documents" 2>&1)
code=$?
check "a folder with other files is refused" '[ $code -ne 0 ] && grep -q "holds no medium" <<<"$output"'
check "and keeps its files" '[ "$(cat "$scratch/documents/letter.txt")" = "a letter" ]'
# A vendor's working folder that happens to hold the two programs.
cp "$build/installer/install.exe" "$build/driver_setup/Setup.exe" "$scratch/documents"/
output=$("$root/scripts/medium" --no-build --no-run "$scratch/clean" "$scratch/documents" 2>&1)
check "a folder with the programs but no mark of a medium is refused" '[ $? -ne 0 ] && [ -f "$scratch/documents/letter.txt" ]'

# The vendor's own program and component are built elsewhere.
cp -R "$root/examples/sample-package" "$scratch/vendor"
mkdir "$scratch/vendor-build"
cp "$build/examples/sample-app/CardTool.exe" "$build/examples/sample-component/CardReg.dll" "$scratch/vendor-build"/
output=$("$root/scripts/medium" --no-build --no-run "$scratch/vendor" "$scratch/vendor-medium" 2>&1)
check "without them the package has errors" '[ $? -ne 0 ] && grep -q "CardTool.exe" <<<"$output"'
output=$("$root/scripts/medium" --no-build --no-run --built "$scratch/vendor-build/CardTool.exe" \
  --built "$scratch/vendor-build/CardReg.dll" "$scratch/vendor" "$scratch/vendor-medium" 2>&1)
code=$?
echo "$output"
check "--built files count as present" '[ $code -eq 0 ] && grep -q "no findings" <<<"$output"'
check "and are laid at the top of the medium" 'cmp -s "$scratch/vendor-build/CardReg.dll" "$scratch/vendor-medium/CardReg.dll"'

# A throw-away code-signing certificate.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$scratch/key.pem" -out "$scratch/cert.pem" -days 2 \
  -subj "/CN=Card Printer Test Vendor" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -out "$scratch/cert.pfx" -inkey "$scratch/key.pem" -in "$scratch/cert.pem" -passout pass:medium-test
output=$(unset MEDIUM_SIGN_PASSWORD; "$root/scripts/medium" --no-build --no-run --sign "$scratch/cert.pfx" "$scratch/clean" "$scratch/medium" 2>&1)
check "signing without the password in the environment is refused" '[ $? -ne 0 ] && grep -q MEDIUM_SIGN_PASSWORD <<<"$output"'
output=$(MEDIUM_SIGN_PASSWORD=wrong "$root/scripts/medium" --no-build --no-run --sign "$scratch/cert.pfx" "$scratch/clean" "$scratch/medium" 2>&1)
check "a wrong password is refused" '[ $? -ne 0 ] && grep -q "signing install.exe failed" <<<"$output"'
output=$(MEDIUM_SIGN_PASSWORD=medium-test "$root/scripts/medium" --no-build --no-run --sign "$scratch/cert.pfx" \
  --iso "$scratch/sample.iso" "$scratch/clean" "$scratch/medium" 2>&1)
code=$?
echo "$output"
check "a signed medium and its image are made" '[ $code -eq 0 ] && [ -s "$scratch/sample.iso" ]'
for program in install.exe Setup.exe x64/Setup64.exe; do
  check "$program carries a valid signature" 'osslsigncode verify -CAfile "$scratch/cert.pem" -in "$scratch/medium/$program" >/dev/null 2>&1'
  check "$program still makes every call into its DLLs" '"$root/scripts/check-imports" "$scratch/medium/$program" >/dev/null'
done
printf 'x' | dd of="$scratch/medium/Setup.exe" bs=1 seek=1024 conv=notrunc 2>/dev/null
check "a changed program fails the check" '! osslsigncode verify -CAfile "$scratch/cert.pem" -in "$scratch/medium/Setup.exe" >/dev/null 2>&1'
# Read as Windows reads it: the Joliet tree, without Rock Ridge.
xorriso -osirrox on -read_fs norock -indev "$scratch/sample.iso" -extract / "$scratch/from-iso" >/dev/null 2>&1
check "the image holds the medium but not its mark" '[ -f "$scratch/from-iso/x64/Setup64.exe" ] && [ ! -e "$scratch/from-iso/.medium-layout" ]'
check "its Joliet names are the long names" '[ -f "$scratch/from-iso/common/CardPrinterReadme.txt" ] && [ -f "$scratch/from-iso/installE.INF" ]'
check "and its files keep their write times" '[ "$(stat -c %Y "$scratch/from-iso/common/CardPrinterReadme.txt")" = "$(date -d "2020-02-03 04:05:06" +%s)" ]'
check "and their bytes" 'cmp -s "$scratch/clean/x64/CardPrinter.inf" "$scratch/from-iso/x64/CardPrinter.inf"'

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
