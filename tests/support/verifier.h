// A structural verifier of the files the library writes: a small reader of our own that parses
// the compound file and checks the records of every stream for consistency. Every test that
// writes a file runs it. It reports problems as text; an empty list means the file is sound.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quorv_test {

using StreamMap = std::map<std::u16string, std::vector<std::uint8_t>>;

// Reads the streams of the root storage of a compound file ([MS-CFB] version 3). Problems of
// the container itself (chains, sizes, directory) are appended to problems.
StreamMap readCompoundFile(const std::vector<std::uint8_t>& file, std::vector<std::string>& problems);

// Checks the streams of a presentation:
// - every record of "PowerPoint Document" parses, and container lengths add up;
// - the Current User record points at the user edit, the user edit at the persist directory,
//   and the persist directory's offsets at records of the kinds they name (document, master,
//   slides), with persistIdSeed at least the largest id;
// - the slide list refers to persist ids of slides, the master list to the master;
// - the picture store's entries point at BLIP records of the right kind and size in "Pictures";
// - shape ids are unique in each drawing;
// - every text's style runs, master text runs and special-info runs cover its length + 1.
std::vector<std::string> verifyPresentation(const StreamMap& streams);

// Both of the above on the bytes of a whole file.
std::vector<std::string> verifyPresentationFile(const std::vector<std::uint8_t>& file);

// The same on a file on disk.
std::vector<std::string> verifyPresentationPath(const std::string& path);

// For gtest: "" when sound, otherwise the problems, one per line.
std::string describeProblems(const std::vector<std::string>& problems);

} // namespace quorv_test
