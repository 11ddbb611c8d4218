// Browser build only; part of the platform boundary (framework/platform.h).
// Stands in for inih's header, which has no WebAssembly build: the settings
// are read by PortableIniReader, which follows inih's rules.
#pragma once

#include "framework/portable_ini_reader.h"

using INIReader = PortableIniReader;
