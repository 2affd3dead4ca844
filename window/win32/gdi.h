// Owners of the window's GDI objects and icons: each frees its handle with
// the call Windows asks for when it goes or is replaced, so that no code
// frees one by hand.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MemoryDcDeleter {
    void operator()(HDC canvas) const { DeleteDC(canvas); }
};

// A font, brush or bitmap.
template <typename Handle>
using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;
