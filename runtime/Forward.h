// Forward declarations of the runtime's classes, so headers can name them without including them.
#pragma once

class CPoolMem;
class CQrnCommonBase;
class CQrnCommonBaseWithMemManager;
struct CQrnClassInfo;
class CQrnObject;
class CQrnStream;
class CQrnMem;
class CWString;
class CWConstString;
class CRefObject;
class CQrnRefObject;
class CQrnEventObjectPointer;
