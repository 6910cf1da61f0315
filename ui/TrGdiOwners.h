// TrGdiOwners.h - owners for the drawing resources the dialogs hold for a
// moment: image lists, memory and window DCs, and objects selected into a DC.
#ifndef TR_UI_GDIOWNERS_H
#define TR_UI_GDIOWNERS_H

#include <windows.h>
#include <commctrl.h>

#include "base/TrHandle.h"

namespace tr {

using ImageList = UniqueHandle<NullTraits<HIMAGELIST, &::ImageList_Destroy>>;

// CreateCompatibleDC's result: DeleteDC, never ReleaseDC.
using MemoryDC = UniqueHandle<NullTraits<HDC, &::DeleteDC>>;

// GetDC's result, given back to the window it came from.
class WindowDC {
public:
    explicit WindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~WindowDC() { if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// BeginPaint/EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~PaintScope() { ::EndPaint(m_hWnd, &m_ps); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return m_hDC; }
    const RECT& Area() const { return m_ps.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hDC = nullptr;
};

// An object selected into a DC for one scope: the DC's previous object goes
// back before the selected one can be deleted by its own owner.
class SelectScope {
public:
    SelectScope(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(hObject ? ::SelectObject(hDC, hObject) : nullptr) {}
    ~SelectScope() { if (m_hOld) ::SelectObject(m_hDC, m_hOld); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// SaveDC/RestoreDC as one scope.
class SavedDC {
public:
    explicit SavedDC(HDC hDC) : m_hDC(hDC), m_level(::SaveDC(hDC)) {}
    ~SavedDC() { if (m_level) ::RestoreDC(m_hDC, m_level); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_hDC;
    int m_level;
};

}  // namespace tr

#endif  // TR_UI_GDIOWNERS_H
