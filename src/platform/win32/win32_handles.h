// Owning holders for the Windows handles the adapters open, so no path can leak one. Registry
// keys are not among them: an opened key belongs to the core until it calls CloseKey.
#pragma once

#include "platform/win32/win32_api.h"

// A kernel handle (process, thread) closed with CloseHandle.
class CScopedHandle {
public:
    CScopedHandle() : handle(NULL) {}
    explicit CScopedHandle(HANDLE handle) : handle(handle) {}
    ~CScopedHandle() { Reset(NULL); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    HANDLE Get() const { return handle; }
    HANDLE Release() { HANDLE h = handle; handle = NULL; return h; }
    void Reset(HANDLE h)
    {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = h;
    }

private:
    HANDLE handle;
};

// A window's device context from GetDC, given back with ReleaseDC. Acquire takes a new one
// (after giving back the one held), so a holder can live as long as its owner.
class CScopedWindowDC {
public:
    CScopedWindowDC() : hwnd(NULL), dc(NULL) {}
    explicit CScopedWindowDC(HWND hwnd) : hwnd(hwnd), dc(GetDC(hwnd)) {}
    ~CScopedWindowDC() { Reset(); }
    CScopedWindowDC(const CScopedWindowDC&) = delete;
    CScopedWindowDC& operator=(const CScopedWindowDC&) = delete;

    HDC Get() const { return dc; }
    bool Acquire(HWND window)
    {
        Reset();
        dc = GetDC(window);
        hwnd = dc ? window : NULL;
        return dc != NULL;
    }
    void Reset()
    {
        if (dc) ReleaseDC(hwnd, dc);
        dc = NULL;
        hwnd = NULL;
    }

private:
    HWND hwnd;
    HDC dc;
};

// The paint cycle of a window: the device context of BeginPaint, ended with EndPaint.
class CScopedPaint {
public:
    CScopedPaint() : hwnd(NULL), dc(NULL) {}
    ~CScopedPaint() { End(); }
    CScopedPaint(const CScopedPaint&) = delete;
    CScopedPaint& operator=(const CScopedPaint&) = delete;

    HDC Get() const { return dc; }
    bool Begin(HWND window)
    {
        End();
        dc = ::BeginPaint(window, &paint);
        hwnd = dc ? window : NULL;
        return dc != NULL;
    }
    void End()
    {
        if (dc) ::EndPaint(hwnd, &paint);
        dc = NULL;
        hwnd = NULL;
    }

private:
    HWND hwnd;
    HDC dc;
    PAINTSTRUCT paint;
};

// A device or information context of our own (CreateICA, CreateCompatibleDC), deleted with
// DeleteDC.
class CScopedCreatedDC {
public:
    explicit CScopedCreatedDC(HDC dc) : dc(dc) {}
    ~CScopedCreatedDC()
    {
        if (dc) DeleteDC(dc);
    }
    CScopedCreatedDC(const CScopedCreatedDC&) = delete;
    CScopedCreatedDC& operator=(const CScopedCreatedDC&) = delete;

    HDC Get() const { return dc; }

private:
    HDC dc;
};

// A GDI object of our own (font, created bitmap, brush) deleted with DeleteObject.
template <typename T>
class CScopedGdiObject {
public:
    CScopedGdiObject() : object(NULL) {}
    explicit CScopedGdiObject(T object) : object(object) {}
    ~CScopedGdiObject() { Reset(NULL); }
    CScopedGdiObject(const CScopedGdiObject&) = delete;
    CScopedGdiObject& operator=(const CScopedGdiObject&) = delete;

    T Get() const { return object; }
    void Reset(T o)
    {
        if (object) DeleteObject(object);
        object = o;
    }

private:
    T object;
};

// An object selected into a device context; the one it replaced is selected again when the
// holder ends, so the object can be deleted and the context freed cleanly.
class CScopedSelection {
public:
    CScopedSelection(HDC dc, HGDIOBJ object)
        : dc(dc), previous(dc && object ? SelectObject(dc, object) : NULL)
    {
        if (previous == HGDI_ERROR) previous = NULL;
    }
    ~CScopedSelection()
    {
        if (previous) SelectObject(dc, previous);
    }
    CScopedSelection(const CScopedSelection&) = delete;
    CScopedSelection& operator=(const CScopedSelection&) = delete;

    bool Selected() const { return previous != NULL; }

private:
    HDC dc;
    HGDIOBJ previous;
};
