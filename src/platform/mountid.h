#pragma once

#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

// Which mount holds a file. A rename between two mounts fails (EXDEV) even when both show the
// same device, as bind mounts of one file system do (chroots, containers, a service's private
// /tmp), so files that can be renamed into each other's folders are those on one mount. The
// kernel's mount id where statx gives one (Linux 5.8 and later), else the device.
namespace MountId {

// A final symbolic link is followed unless followLink is false. False when path cannot be read.
inline bool of(const char *path, quint64 *mount, bool followLink = true)
{
    struct statx status {};
    if (::statx(AT_FDCWD, path, followLink ? 0 : AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &status) != 0)
        return false;
    *mount = (status.stx_mask & STATX_MNT_ID) ? status.stx_mnt_id : makedev(status.stx_dev_major, status.stx_dev_minor);
    return true;
}

} // namespace MountId
