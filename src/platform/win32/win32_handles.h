// Owning holders for the Windows handles the adapters open, so no path can leak one.
#pragma once

#include "platform/win32/win32_api.h"

// An open registry key below one of the predefined roots; the roots themselves are not closed.
class CScopedKey {
public:
    CScopedKey() : key(NULL) {}
    explicit CScopedKey(HKEY key) : key(key) {}
    ~CScopedKey() { Reset(NULL); }
    CScopedKey(const CScopedKey&) = delete;
    CScopedKey& operator=(const CScopedKey&) = delete;

    HKEY Get() const { return key; }
    HKEY* Out() { Reset(NULL); return &key; }
    HKEY Release() { HKEY k = key; key = NULL; return k; }
    void Reset(HKEY k)
    {
        if (key) RegCloseKey(key);
        key = k;
    }

private:
    HKEY key;
};

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

// A window's device context from GetDC, given back with ReleaseDC.
class CScopedWindowDC {
public:
    explicit CScopedWindowDC(HWND hwnd) : hwnd(hwnd), dc(GetDC(hwnd)) {}
    ~CScopedWindowDC()
    {
        if (dc) ReleaseDC(hwnd, dc);
    }
    CScopedWindowDC(const CScopedWindowDC&) = delete;
    CScopedWindowDC& operator=(const CScopedWindowDC&) = delete;

    HDC Get() const { return dc; }

private:
    HWND hwnd;
    HDC dc;
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

// A GDI object (font, bitmap, brush) deleted with DeleteObject.
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

// An object selected into a device context for one scope; the previous one is put back.
class CScopedSelect {
public:
    CScopedSelect(HDC dc, HGDIOBJ object) : dc(dc), previous(object ? SelectObject(dc, object) : NULL) {}
    ~CScopedSelect()
    {
        if (previous) SelectObject(dc, previous);
    }
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};
