// libFuzzer target: builds a presentation through the public API from the fuzz input, saves it
// into memory and checks the result with the structural verifier. Any crash, sanitizer report,
// hang, unexpected exception or file the verifier rejects is a finding. A QvException is an
// accepted outcome (the library refused bad input clearly).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "support/verifier.h"

using namespace Quorv;

namespace {

// Values a converter may pass: ordinary, zero, negative, huge, not finite.
float anyFloat(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return 0.0f;
    case 1: return -in.ConsumeFloatingPointInRange<float>(0.0f, 1e6f);
    case 2: return 1e30f;
    case 3: return __builtin_inff();
    case 4: return __builtin_nanf("");
    case 5: return in.ConsumeFloatingPoint<float>();
    default: return in.ConsumeFloatingPointInRange<float>(0.0f, 2000.0f);
    }
}

// Wide text with the characters that stress conversions: NUL, surrogates, beyond the BMP,
// Japanese, characters code page 932 lacks.
std::wstring anyText(FuzzedDataProvider& in, std::size_t maxLength) {
    std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::wstring s;
    for (std::size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: s.push_back(L'\0'); break;
        case 1: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0xD800, 0xDFFF))); break;
        case 2: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x10000, 0x10FFFF))); break;
        case 3: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x3040, 0x9FFF))); break;
        case 4: s.push_back(static_cast<wchar_t>(in.ConsumeIntegral<std::uint32_t>())); break;
        case 5: s.push_back(L'\r'); break;
        default: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x20, 0x7E))); break;
        }
    }
    return s;
}

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "finding: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    PPTDocument doc;
    PPTProperties props;
    try {
        doc.set_Width(anyFloat(in));
        doc.set_Hight(anyFloat(in));
        const int slides = in.ConsumeIntegralInRange<int>(0, 6);
        std::vector<PPTPtr<PPTSlides>> slideList;
        for (int i = 0; i < slides; ++i) slideList.push_back(doc.addSlides(anyFloat(in), anyFloat(in)));

        while (in.remaining_bytes() > 0) {
            switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: doc.get_FontNamesIndex(anyText(in, 40), in.ConsumeIntegral<int>()); break;
            case 1: {
                props.set_Title(anyText(in, 30));
                props.set_Subject(anyText(in, 30));
                props.set_Author(anyText(in, 30));
                props.set_Company(anyText(in, 30));
                props.set_Keyword(anyText(in, 30));
                props.set_Encrypt(in.ConsumeBool());
                doc.setProperties(&props, false);
                break;
            }
            default:
                // Feature families add their shapes here.
                in.ConsumeIntegral<std::uint8_t>();
                break;
            }
        }
    } catch (const QvException&) {
        return 0; // refused clearly while building
    }

    std::vector<unsigned char> file;
    try {
        file = doc.saveToMemory();
    } catch (const QvException&) {
        return 0;
    } catch (const std::exception& e) {
        fail("save threw something else than QvException", e.what());
    }
    std::vector<std::string> problems = quorv_test::verifyPresentationFile(file);
    if (!problems.empty()) fail("the verifier rejects the file", quorv_test::describeProblems(problems));
    return 0;
}
