#include "tools/render/pending_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace render {

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Permissions a newly created file gets: 0666 less the process's umask.
mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::unique_ptr<PendingFile> PendingFile::Create(const std::string& target, std::string& error)
{
    struct stat st {};
    if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = target + " is a folder, not a file name";
        return nullptr;
    }
    const std::string folder = FolderOf(target);
    if (stat(folder.c_str(), &st) != 0) {
        error = "cannot write " + target + ": the folder " + folder + " does not exist";
        return nullptr;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = "cannot write " + target + ": " + folder + " is not a folder";
        return nullptr;
    }
    // Beside the target, so that the final rename stays on one file system.
    const std::string hidden = "." + BaseOf(target) + ".partial-XXXXXX";
    const std::string pattern = target.find('/') == std::string::npos ? hidden : folder + "/" + hidden;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return nullptr;
    }
    // mkstemp makes the file private; give it the permissions a plain new file gets.
    if (fchmod(descriptor, NewFileMode()) != 0) {
        // Not fatal: the file stays readable by its owner.
    }
    std::unique_ptr<PendingFile> file(new PendingFile());
    file->fd = descriptor;
    file->target = target;
    file->temporary = name.data();
    return file;
}

PendingFile::~PendingFile()
{
    if (fd >= 0)
        close(fd);
    if (!committed && !temporary.empty())
        unlink(temporary.c_str());
}

bool PendingFile::Write(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = "cannot write " + target + ": " + std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool PendingFile::Commit(std::string& error)
{
    if (fd >= 0 && close(fd) != 0) {
        fd = -1;
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    fd = -1;
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    committed = true;
    return true;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {};
    struct stat sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace render
