#pragma once

#include <qpdf/InputSource.hh>

#include <cstdio>
#include <string>
#include <vector>

// A file for the PDF library to read, through a buffer of its own. The library's own file
// source moves the C runtime's file position for every token it reads back, and every move
// empties the runtime's buffer: a system call, then a read of a whole buffer, per token. Here a
// seek within the buffer only moves a number. Throws from the constructor when the file cannot
// be opened.
class BufferedFileSource final : public InputSource
{
public:
    // name: UTF-8.
    explicit BufferedFileSource(const std::string& name);
    ~BufferedFileSource() override;

    BufferedFileSource(const BufferedFileSource&) = delete;
    BufferedFileSource& operator=(const BufferedFileSource&) = delete;

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return name_; }
    qpdf_offset_t tell() override { return position_; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { position_ = 0; }
    size_t read(char* target, size_t length) override;
    void unreadCh(char ch) override;

private:
    void measureSize();
    bool fill();
    size_t readFile(qpdf_offset_t offset, char* target, size_t length);

    std::string name_;
    std::FILE* file_ = nullptr;
    qpdf_offset_t size_ = 0;
    qpdf_offset_t position_ = 0;
    std::vector<char> block_;
    qpdf_offset_t blockStart_ = 0;
    size_t blockLength_ = 0;
};
