#pragma once
// An output file that appears only when it is complete: the data goes into a
// temporary file beside the target, which Commit renames over the target. A
// pending file that is destroyed without Commit is removed, so a failed or
// interrupted render leaves neither a partial file nor a damaged old one. A
// target that is a symbolic link is written through to the file it names; a
// replaced file keeps its permission bits; a write-protected one is refused.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render {

class PendingFile {
public:
    // Null with a message in error when the temporary file cannot be made
    // (missing folder, no permission, target is a folder or write-protected).
    static std::unique_ptr<PendingFile> Create(const std::string& target, std::string& error);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int Descriptor() const { return fd; } // open for writing until Commit
    bool Write(const std::vector<std::uint8_t>& bytes, std::string& error);
    // Closes the file and renames it over the target; false with a message.
    bool Commit(std::string& error);

private:
    PendingFile() = default;
    int fd = -1;
    std::string target;
    std::string temporary;
    bool committed = false;
};

// True when both paths name one file (a link, a hard link or another
// spelling), or would name one file once written.
bool SameFile(const std::string& a, const std::string& b);

// True when path names an existing regular file.
bool IsRegularFile(const std::string& path);

} // namespace render
