#include "platform/WindowsProductName.h"

namespace platform {

std::u16string WindowsProductName(const WindowsVersionFacts& v) {
    const bool ws = v.workstation;
    if (v.minor >= 100) return u"Windows";
    switch (v.major * 100 + v.minor) {
        case 500: return u"Windows 2000";
        case 501: return u"Windows XP";
        case 502:
            // Only the 64-bit edition of XP carries 5.2 on a workstation.
            if (ws && v.x64) return u"Windows XP";
            return v.serverR2 ? u"Windows Server 2003 R2" : u"Windows Server 2003";
        case 600: return ws ? u"Windows Vista" : u"Windows Server 2008";
        case 601: return ws ? u"Windows 7" : u"Windows Server 2008 R2";
        case 602: return ws ? u"Windows 8" : u"Windows Server 2012";
        case 603: return ws ? u"Windows 8.1" : u"Windows Server 2012 R2";
        case 1000: return ws ? u"Windows 10" : u"Windows Server 2016";
        default: return u"Windows";
    }
}

}  // namespace platform
