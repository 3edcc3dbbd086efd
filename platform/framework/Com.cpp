// Per-thread component initialisation.
#include "platform/framework/Com.h"

namespace {

thread_local int t_initialisations = 0;
thread_local DWORD t_mode = 0;

}  // namespace

HRESULT CoInitializeEx(void*, DWORD mode)
{
    if (t_initialisations > 0 && (t_mode & COINIT_APARTMENTTHREADED) != (mode & COINIT_APARTMENTTHREADED))
        return RPC_E_CHANGED_MODE;
    t_mode = mode;
    return t_initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_initialisations > 0)
        --t_initialisations;
}

HRESULT OleInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void OleUninitialize() { CoUninitialize(); }
