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
