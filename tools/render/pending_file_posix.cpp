#include "tools/render/pending_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
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

// The file a path finally names: the target of a chain of symbolic links, or
// the path itself when it names no link (or a link that leads nowhere yet).
std::string FollowLinks(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX] = {};
    if (realpath(path.c_str(), resolved))
        return resolved;
    // A dangling link: write where it points, relative to the link's folder.
    char link[PATH_MAX] = {};
    const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
    if (n <= 0)
        return path;
    const std::string to(link, static_cast<std::size_t>(n));
    return to[0] == '/' ? to : FolderOf(path) + "/" + to;
}

// A file the user has marked read-only is not replaced, even by root.
bool IsWritable(const std::string& path, const struct stat& st)
{
    return access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

std::string RandomSuffix()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 generator(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += kLetters[pick(generator)];
    return suffix;
}

} // namespace

std::unique_ptr<PendingFile> PendingFile::Create(const std::string& requested, std::string& error)
{
    const std::string target = FollowLinks(requested);
    struct stat st {};
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        error = requested + " is a folder, not a file name";
        return nullptr;
    }
    if (exists && !IsWritable(target, st)) {
        error = "cannot replace " + requested + ": the file is write-protected";
        return nullptr;
    }
    // A replaced file keeps its permission bits; a new one gets what the
    // process's umask leaves of 0666, applied by open itself.
    const bool keepMode = exists && S_ISREG(st.st_mode);
    const mode_t keptMode = st.st_mode & 07777;
    const std::string folder = FolderOf(target);
    struct stat folderStat {};
    if (stat(folder.c_str(), &folderStat) != 0) {
        error = "cannot write " + requested + ": the folder " + folder + " does not exist";
        return nullptr;
    }
    if (!S_ISDIR(folderStat.st_mode)) {
        error = "cannot write " + requested + ": " + folder + " is not a folder";
        return nullptr;
    }
    // Beside the target, so that the final rename stays on one file system.
    const std::string prefix =
        (target.find('/') == std::string::npos ? "" : folder + "/") + "." + BaseOf(target) + ".partial-";
    int descriptor = -1;
    std::string temporary;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = prefix + RandomSuffix();
        descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0) {
        error = "cannot write " + requested + ": " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<PendingFile> file(new PendingFile());
    file->fd = descriptor;
    file->target = target;
    file->temporary = temporary;
    if (keepMode && fchmod(descriptor, keptMode) != 0) {
        error = "cannot write " + requested + ": " + std::strerror(errno);
        return nullptr;
    }
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
    if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // Not both there yet: the same place when their folders are one folder
    // and the names match, after following links.
    const std::string fa = FollowLinks(a);
    const std::string fb = FollowLinks(b);
    if (BaseOf(fa) != BaseOf(fb))
        return false;
    char da[PATH_MAX] = {};
    char db[PATH_MAX] = {};
    return realpath(FolderOf(fa).c_str(), da) && realpath(FolderOf(fb).c_str(), db) &&
           std::strcmp(da, db) == 0;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace render
