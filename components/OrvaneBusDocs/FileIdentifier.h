#pragma once

#include <qpdf/Pipeline.hh>

#include <QString>

#include <string>
#include <vector>

// The file identifier of an output (the trailer's /ID), made from what determines the output's
// bytes (its recipe: its inputs, told apart by size and modification time as the run tells a
// changed input, its pages, the run's options and names) rather than from a digest of every
// byte written, which took a seventh of a run. The same recipe gives the same bytes, so
// outputs stay the same from run to run and whatever the number of jobs.
//
// The writer is told to write a fixed placeholder identifier; FileIdentifierStamp, the last
// stage before the file, holds back the end of the output and puts the identifier in the
// placeholder's place once the writer is done (complete). The trailer, which holds it, ends
// the file.
class FileIdentifierStamp final : public Pipeline
{
public:
    // fileIdentifier: 16 bytes. destination: where the stamped data goes.
    FileIdentifierStamp(std::string fileIdentifier, Pipeline* destination);

    void write(unsigned char const* data, size_t length) override;
    // The writer finishes its pipelines after every stream, which only flushes here: what is
    // held back stays.
    void finish() override;
    // Once the writer is done: stamps the identifier and passes the rest on. Throws when the
    // end of the output holds no placeholder; the end is not passed on then.
    void complete();

private:
    std::string identifier_;
    std::vector<unsigned char> tail_;
};

// Appends a text of any length to a recipe so that no two lists of texts read the same.
void AppendToRecipe(std::string& recipe, const QString& text);

// 16 bytes naming the recipe: a digest of it.
std::string FileIdentifierOf(const std::string& recipe);
