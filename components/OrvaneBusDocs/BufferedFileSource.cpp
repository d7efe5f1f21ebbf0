#include "BufferedFileSource.h"

#include <qpdf/QPDFExc.hh>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// Large enough for the objects of most pages in one read, small enough that a jump across the
// file costs little.
constexpr size_t kBlockSize = 16 * 1024;

} // namespace

BufferedFileSource::BufferedFileSource(const std::string& name)
    : name_(name), file_(QUtil::safe_fopen(name.c_str(), "rb")), block_(kBlockSize)
{
    // Unbuffered: the block is the buffer.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    try {
        measureSize();
    } catch (...) {
        std::fclose(file_);
        throw;
    }
}

BufferedFileSource::~BufferedFileSource()
{
    std::fclose(file_);
}

void BufferedFileSource::seek(qpdf_offset_t offset, int whence)
{
    qpdf_offset_t base = 0;
    switch (whence) {
    case SEEK_SET: break;
    case SEEK_CUR: base = position_; break;
    case SEEK_END: base = size_; break;
    default: throw std::logic_error("invalid seek origin");
    }
    if (offset < -base)
        throw std::runtime_error(name_ + ": seek before the beginning of the file");
    position_ = base + offset;
}

void BufferedFileSource::unreadCh(char)
{
    if (position_ > 0)
        --position_;
}

size_t BufferedFileSource::read(char* target, size_t length)
{
    last_offset = position_;
    size_t done = 0;
    while (done < length) {
        const qpdf_offset_t at = position_;
        if (at >= blockStart_ && at < blockStart_ + static_cast<qpdf_offset_t>(blockLength_)) {
            const size_t offset = static_cast<size_t>(at - blockStart_);
            const size_t count = std::min(length - done, blockLength_ - offset);
            std::memcpy(target + done, block_.data() + offset, count);
            done += count;
            position_ += static_cast<qpdf_offset_t>(count);
        } else if (length - done >= block_.size()) {
            // Stream data: straight into the caller's buffer.
            const size_t count = readFile(at, target + done, length - done);
            done += count;
            position_ += static_cast<qpdf_offset_t>(count);
            if (count == 0)
                break;
        } else if (!fill()) {
            break;
        }
    }
    if (done == 0 && length > 0) {
        // At the end, as the library's own file source does; the file may have shrunk.
        measureSize();
        last_offset = position_ = size_;
    }
    return done;
}

void BufferedFileSource::measureSize()
{
    if (QUtil::seek(file_, 0, SEEK_END) != 0 || (size_ = QUtil::tell(file_)) < 0)
        throw QPDFExc(qpdf_e_system, name_, "", 0, "the size of the file cannot be read");
}

// Loads the block at the current position; false at the end of the file.
bool BufferedFileSource::fill()
{
    blockStart_ = position_;
    blockLength_ = readFile(position_, block_.data(), block_.size());
    return blockLength_ > 0;
}

size_t BufferedFileSource::readFile(qpdf_offset_t offset, char* target, size_t length)
{
    if (QUtil::seek(file_, offset, SEEK_SET) != 0)
        return 0;
    const size_t count = std::fread(target, 1, length, file_);
    if (count == 0 && std::ferror(file_))
        throw QPDFExc(qpdf_e_system, name_, "", offset, "read error");
    return count;
}

qpdf_offset_t BufferedFileSource::findAndSkipNextEOL()
{
    char ch = 0;
    while (read(&ch, 1) == 1) {
        if (ch != '\r' && ch != '\n')
            continue;
        const qpdf_offset_t eol = position_ - 1;
        while (read(&ch, 1) == 1) {
            if (ch != '\r' && ch != '\n') {
                unreadCh(ch);
                break;
            }
        }
        return eol;
    }
    return position_;
}
