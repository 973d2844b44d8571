// Every check of one package folder.
#pragma once
#include "package_folder.h"

void CheckPackage(const PackageFolder& package);
