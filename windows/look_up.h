#pragma once

#include <windows.h>

namespace windows_ui {

// A function of a system library that not every Windows 10 has, or null.
// The detour through void(*)() is the cast the compiler accepts between
// function types.
template <typename Function>
Function lookUp(HMODULE library, const char* name)
{
    const FARPROC found = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace windows_ui
