#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tv::test {

// While it lives, the calling thread runs without the capabilities that let root pass over
// permission bits, so that a file made unreadable or a folder made read-only stops it as it
// stops any user. Only the effective set changes, and only on this thread: the capabilities
// come back when it goes. For a user without them it changes nothing.
class WithoutFilePrivilege {
public:
    WithoutFilePrivilege()
    {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            lowered[capability / 32].effective &= ~(1u << (capability % 32));
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutFilePrivilege()
    {
        if (lowered_)
            syscall(SYS_capset, &header_, saved_);
    }
    WithoutFilePrivilege(const WithoutFilePrivilege&) = delete;
    WithoutFilePrivilege& operator=(const WithoutFilePrivilege&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool lowered_ = false;
};

}  // namespace tv::test
