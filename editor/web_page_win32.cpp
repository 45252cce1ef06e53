// Opening a web page from the Win32 editor: an optional question first, then
// the system shell's "open" on the address when the system reports an internet
// connection, and an optional notice when that fails.

#include "editor/window_win32.h"

#include <windows.h>

#include <shellapi.h>
#include <wininet.h>

namespace {

// ShellExecute reports success with a value above 32.
constexpr INT_PTR kShellSuccessAbove = 32;

bool OpenWithShell(HWND owner, const char* address)
{
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0))
        return false;
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
    return result > kShellSuccessAbove;
}

} // namespace

bool IEditorViewWin::openWebPage(const char* address, const char* caption, const char* question,
                                 const char* failure)
{
    const auto owner = windowGone ? nullptr : static_cast<HWND>(window);
    if (question && MessageBoxA(owner, question, caption, MB_YESNO) != IDYES)
        return false;
    if (address && *address && OpenWithShell(owner, address))
        return true;
    if (failure)
        MessageBoxA(owner, failure, caption, MB_OK);
    return false;
}
