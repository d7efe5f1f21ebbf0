#include "FileIdentifier.h"

#include <qpdf/QUtil.hh>

#include <QCryptographicHash>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// What the PDF library writes for a new file when told to write its fixed identifier: both
// strings the same, in hexadecimal as QUtil::hex_encode writes it.
const std::string kPlaceholderHex = "31415926535897932384626433832795";
const std::string kPlaceholder = "/ID [<" + kPlaceholderHex + "><" + kPlaceholderHex + ">]";

// The trailer and what follows it (the cross-reference offset and the end marker) are far
// shorter; the file is held back by this much, and passed on in pieces of at least as much.
constexpr std::size_t kHeldBack = 4096;

} // namespace

FileIdentifierStamp::FileIdentifierStamp(std::string fileIdentifier, Pipeline* destination)
    : Pipeline("file identifier", destination), identifier_(std::move(fileIdentifier))
{
    if (identifier_.size() != kPlaceholderHex.size() / 2)
        throw std::logic_error("a file identifier has 16 bytes");
}

void FileIdentifierStamp::write(unsigned char const* data, size_t length)
{
    if (length >= kHeldBack) {
        // Large pieces (stream data) go on without a copy, but for their end.
        if (!tail_.empty())
            getNext()->write(tail_.data(), tail_.size());
        getNext()->write(data, length - kHeldBack);
        tail_.assign(data + (length - kHeldBack), data + length);
        return;
    }
    tail_.insert(tail_.end(), data, data + length);
    if (tail_.size() < 2 * kHeldBack)
        return;
    const std::size_t passed = tail_.size() - kHeldBack;
    getNext()->write(tail_.data(), passed);
    tail_.erase(tail_.begin(), tail_.begin() + static_cast<std::ptrdiff_t>(passed));
}

void FileIdentifierStamp::finish()
{
    getNext()->finish();
}

void FileIdentifierStamp::complete()
{
    const auto found =
        std::find_end(tail_.begin(), tail_.end(), kPlaceholder.begin(), kPlaceholder.end());
    if (found == tail_.end())
        throw std::runtime_error("the output's file identifier was not found");
    const std::string hex = QUtil::hex_encode(identifier_);
    const std::string stamped = "/ID [<" + hex + "><" + hex + ">]";
    std::copy(stamped.begin(), stamped.end(), found);
    getNext()->write(tail_.data(), tail_.size());
    tail_.clear();
    getNext()->finish();
}

void AppendToRecipe(std::string& recipe, const QString& text)
{
    const std::string bytes = text.toStdString();
    recipe += std::to_string(bytes.size()) + ':' + bytes;
}

std::string FileIdentifierOf(const std::string& recipe)
{
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(recipe.data(), static_cast<qsizetype>(recipe.size())),
        QCryptographicHash::Md5);
    return digest.toStdString();
}
