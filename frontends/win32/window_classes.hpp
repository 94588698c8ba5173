#pragma once
// The program's window classes, registered once at start-up.
#include <windows.h>

namespace ui { class Host; }

namespace frontend {

inline constexpr wchar_t kMainClass[] = L"TALLYFIN_PC";
inline constexpr wchar_t kMainTitle[] = L"Tallyfin PC";
inline constexpr wchar_t kEditClass[] = L"TFP_EditWin";
inline constexpr wchar_t kScrollClass[] = L"ScrollWndClass";
inline constexpr wchar_t kNavGraphClass[] = L"NavGraphWin";

// Registers the main, edit, scroll and navigation classes in that order. A
// class that fails is reported through host (caption "Error") and the rest are
// not registered. True when all four are registered.
bool registerWindowClasses(HINSTANCE instance, ui::Host& host);

}  // namespace frontend
