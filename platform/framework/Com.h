#pragma once
// The component and OLE initialisation the framework asks of the platform, per thread. Nothing on
// this platform needs it; the calls keep their contract (S_OK first, S_FALSE when the thread is
// already initialised in the same mode, RPC_E_CHANGED_MODE for another mode), so code written
// against them behaves the same.
// Thread safety: each call acts on the calling thread.
#include "platform/window/WinTypes.h"

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106);

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

HRESULT CoInitializeEx(void* reserved, DWORD mode);
void CoUninitialize();
// Initialises COM for the thread in apartment mode, as the platform's OLE start does.
HRESULT OleInitialize(void* reserved);
void OleUninitialize();
