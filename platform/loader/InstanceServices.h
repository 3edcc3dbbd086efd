#pragma once
// Installs the platform behind the runtime instance (CQrnAppInstance::SetServices) and behind
// LoadIconW / LoadCursorW for the program module (SetModuleIconLoader): embedded resources, stb
// decoding, the drawing layer's handles and the module table's FreeLibrary. Icons and cursors of
// the program module are shared handles, made once per resource: never destroy them.
// Embedding resources, resolving the import table and the application framework's start install
// it; anything else that wants the runtime instance's image services before those calls it first.
// Thread safety: any thread, any number of times (the first call installs).
void InstallLoaderServices();
