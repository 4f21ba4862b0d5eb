#include "platform/ProcessEnd.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>

namespace platform {

void EndProcessNow(int exitCode) {
    std::fflush(nullptr);
    // Not ExitProcess: that runs every library's detach code, the engine's
    // teardown among it.
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(exitCode));
    ::ExitProcess(static_cast<UINT>(exitCode));
}

// Windows tells no send queues; a connection still being opened is what it
// can tell.
bool ConnectionsBusy() {
    const DWORD self = ::GetCurrentProcessId();
    for (const ULONG family : {AF_INET, AF_INET6}) {
        ULONG size = 0;
        if (::GetExtendedTcpTable(nullptr, &size, FALSE, family, TCP_TABLE_OWNER_PID_ALL, 0) != ERROR_INSUFFICIENT_BUFFER)
            continue;
        std::vector<unsigned char> buffer(size);
        if (::GetExtendedTcpTable(buffer.data(), &size, FALSE, family, TCP_TABLE_OWNER_PID_ALL, 0) != NO_ERROR)
            continue;
        // The two families' tables differ only in their rows' addresses.
        const auto anyOpening = [self](const auto* table) {
            for (DWORD i = 0; i < table->dwNumEntries; ++i)
                if (table->table[i].dwOwningPid == self && table->table[i].dwState == MIB_TCP_STATE_SYN_SENT) return true;
            return false;
        };
        const bool opening = family == AF_INET
                                 ? anyOpening(reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(buffer.data()))
                                 : anyOpening(reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(buffer.data()));
        if (opening) return true;
    }
    return false;
}

}  // namespace platform
