# What tova.exe and roduru.dll need to load on Windows 95 and NT 4 (docs/windows-95-imports.md):
# the stand-ins for the runtime's calls that those systems lack, linked as an object of each
# image, and on i686 the PE header's subsystem and OS version pinned at 4.0 (NT 4 and Windows 95
# refuse an image that asks for a newer system).
set(TOVA_WIN9X_IMPORTS_SOURCE ${CMAKE_CURRENT_LIST_DIR}/win9x_imports.cpp)
set(TOVA_WIN9X_LINK_OPTIONS)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TOVA_WIN9X_LINK_OPTIONS
        -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
        -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
endif()
