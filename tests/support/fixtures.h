// Building and saving documents in tests with a fixed clock and fixed identifiers.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/save_context.h"
#include "document/document_writer.h"
#include "quorv/quorv.h"
#include "support/verifier.h"

#include <gtest/gtest.h>

namespace quorv_test {

// 2026-01-02 03:04:05 UTC as a FILETIME.
constexpr std::uint64_t kFixedTime = 0x01DC7B8A1B8C4B40ull;

inline Quorv::detail::SaveContext fixedContext() {
    Quorv::detail::SaveContext c;
    c.now = [] { return kFixedTime; };
    auto counter = std::make_shared<std::uint8_t>(0);
    c.newGuid = [counter] {
        Quorv::detail::Guid g{};
        g.fill(++*counter);
        return g;
    };
    return c;
}

// The streams of a saved document, by name. Every document a test builds this way is also checked
// by the structural verifier.
inline std::map<std::u16string, std::vector<std::uint8_t>> streamsOf(
    Quorv::PPTDocument& doc, const Quorv::detail::SaveContext& context = fixedContext()) {
    std::map<std::u16string, std::vector<std::uint8_t>> out;
    for (auto& s : Quorv::detail::DocumentWriter::buildStreams(doc, context)) out[s.name] = s.bytes();
    std::string problems = describeProblems(verifyPresentation(out));
    if (!problems.empty()) ADD_FAILURE() << "the structural verifier rejects the document:\n" << problems;
    return out;
}

inline std::vector<std::uint8_t> documentStream(Quorv::PPTDocument& doc) {
    return streamsOf(doc).at(u"PowerPoint Document");
}

} // namespace quorv_test
