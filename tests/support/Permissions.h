#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root passes every permission check; with the two overriding capabilities switched off for the
// scope, a folder without read or write permission refuses root as it refuses anyone. The
// capabilities stay permitted, so they can be switched on again.
class TNoPermissionOverride
{
public:
    TNoPermissionOverride()
    {
        if (::geteuid() != 0)
            return;
        Header.version = _LINUX_CAPABILITY_VERSION_3;
        if (::syscall(SYS_capget, &Header, Saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {Saved[0], Saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        Active = ::syscall(SYS_capset, &Header, reduced) == 0;
    }
    ~TNoPermissionOverride()
    {
        if (Active)
            ::syscall(SYS_capset, &Header, Saved);
    }
    TNoPermissionOverride(const TNoPermissionOverride&) = delete;
    TNoPermissionOverride& operator=(const TNoPermissionOverride&) = delete;

    // Whether permissions now apply to this process.
    bool Works() const { return ::geteuid() != 0 || Active; }

private:
    __user_cap_header_struct Header{};
    __user_cap_data_struct Saved[2]{};
    bool Active = false;
};
