#include "tests/windows/host/LibraryFixture.h"

#include <cstdint>

bool LibraryFixture::insideModule(const void* address) const {
    const auto base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto* target = static_cast<const uint8_t*>(address);
    return target >= base && target < base + nt->OptionalHeader.SizeOfImage;
}
