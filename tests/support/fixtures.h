// A save context with a fixed clock and fixed identifiers, so that a test's files are reproducible.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/save_context.h"
#include "document/document_writer.h"
#include "quorv/quorv.h"

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

} // namespace quorv_test
