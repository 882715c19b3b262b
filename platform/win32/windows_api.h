// <windows.h> for the files that also see the platform interfaces: the A/W
// macros named like the interfaces' methods (DeleteFile, CreateDirectory,
// ...) are removed, so that the methods keep their names and the W
// functions are called by their full names.
#pragma once

#include <windows.h>

#undef CreateDirectory
#undef DeleteFile
#undef GetFileAttributes
#undef GetVolumeInformation
#undef ReplaceFile
