// The library's module handle, recorded when the library is loaded. The editor
// uses it to register its window class and to find its bitmaps.
#pragma once

// On Windows the HINSTANCE that the load notification reports; on other
// platforms the base address of the loaded library.
extern void* moduleInstance;
