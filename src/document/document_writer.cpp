#include "document/document_writer.h"

#include <ostream>
#include <stdexcept>

#include "core/output_stream.h"
#include "document/document_container.h"
#include "document/main_master.h"
#include "document/persist_directory.h"
#include "picture/picture_store.h"
#include "quorv/picture.h"
#include "quorv/exception.h"
#include "quorv/properties.h"
#include "quorv/slide.h"
#include "quorv/table.h"
#include "table/table_layout.h"
#include "storage/compound_file.h"
#include "storage/file_output.h"

namespace Quorv {
namespace detail {

const char16_t* const kDocumentStreamName = u"PowerPoint Document";
const char16_t* const kPicturesStreamName = u"Pictures";
const char16_t* const kCurrentUserStreamName = u"Current User";
const char16_t* const kSummaryStreamName = u"\x0005SummaryInformation";
const char16_t* const kDocSummaryStreamName = u"\x0005" u"DocumentSummaryInformation";

std::size_t NamedStream::size() const noexcept {
    std::size_t n = ahead;
    for (const auto& block : blocks) n += block.size();
    return n;
}

std::vector<std::uint8_t> NamedStream::bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(size());
    for (const auto& block : blocks) out.insert(out.end(), block.begin(), block.end());
    return out;
}

namespace {

// Offsets in the "PowerPoint Document" stream are 32-bit.
std::uint32_t streamOffset(const QvOutputStream& s) {
    std::size_t p = s.position();
    if (p > 0xFFFFFFFFu) throw makeException(QV_ERR_TOO_LARGE, "the document stream exceeds 4 GB");
    return static_cast<std::uint32_t>(p);
}

} // namespace

std::vector<NamedStream> DocumentWriter::buildStreams(PPTDocument& doc, const SaveContext& outside,
                                                      storage::ByteSink* ahead) {
    SaveContext context = outside;
    context.fontCount = doc.fontNames_.size();
    const std::vector<PPTPtr<PPTSlides>>& slides = doc.slides_;
    checkPersistIdRange(slides.size());

    // Pictures first: their offsets and sizes in the "Pictures" stream go into the picture store,
    // which holds each picture's data once.
    QvOutputStream pictures(8192);
    pictures.setContext(&context);
    PictureStore store;
    for (const auto& slide : slides) {
        for (const auto& shape : slide->getShapes()) {
            if (!shape->isA(OT_Picture)) continue;
            if (auto* picture = dynamic_cast<PPTPicture*>(shape.get())) store.add(*picture, pictures);
        }
    }
    doc.pictureCount_ = store.size();

    QvOutputStream document(1 << 16);
    document.setContext(&context);
    // Between records the finished blocks of the stream may go ahead into the file: the save
    // then holds about one slide's records and one block of the stream, whatever its length.
    auto drain = [&document, ahead] {
        if (!ahead || document.position() < storage::kMiniStreamCutoff) return;
        document.drain([ahead](const std::uint8_t* data, std::size_t size) { ahead->write(data, size); });
    };
    writeDocumentContainer(document, {doc.width_, doc.height_, doc.fontNames_, store, slides});

    PersistOffsets offsets;
    offsets.master = streamOffset(document);
    writeMainMaster(document);
    offsets.slideStarts.reserve(slides.size());
    for (const auto& slide : slides) {
        drain();
        offsets.slideStarts.push_back(streamOffset(document));
        slide->output(document, false);
        // The slide's tables are written: their layouts are not kept.
        for (const auto& shape : slide->getShapes()) {
            if (!shape->isA(OT_Table)) continue;
            if (auto* table = dynamic_cast<PPTTable*>(shape.get())) table->layout_.reset();
        }
    }
    const std::uint32_t persistDirectoryOffset = streamOffset(document);
    writePersistDirectory(document, offsets);
    const std::uint32_t userEditOffset = streamOffset(document);
    writeUserEdit(document, slides.size(), persistDirectoryOffset);
    drain();

    // The Current User stream and both property sets are written for every document (readers
    // need the SummaryInformation stream); without properties attached they carry empty values
    // and the header token of a document that is not encrypted.
    PPTProperties defaults;
    PPTProperties& properties = doc.properties_ ? *doc.properties_ : defaults;
    QvOutputStream currentUser(256);
    currentUser.setContext(&context);
    properties.saveCurrentUser(currentUser, static_cast<int>(userEditOffset), false);
    QvOutputStream docSummary(256);
    docSummary.setContext(&context);
    properties.saveDocumentSummaryInformation(docSummary, slides, doc.fontNames_, false);
    QvOutputStream summary(512);
    summary.setContext(&context);
    properties.saveSummaryInformation(summary, false);

    std::vector<NamedStream> streams;
    if (pictures.position() > 0) streams.push_back({kPicturesStreamName, pictures.takeBlocks(), 0});
    const std::size_t drained = document.drained();
    streams.push_back({kDocumentStreamName, document.takeBlocks(), drained});
    streams.push_back({kSummaryStreamName, summary.takeBlocks(), 0});
    streams.push_back({kDocSummaryStreamName, docSummary.takeBlocks(), 0});
    streams.push_back({kCurrentUserStreamName, currentUser.takeBlocks(), 0});
    return streams;
}

namespace {

std::vector<storage::StreamEntry> entries(const std::vector<NamedStream>& streams) {
    std::vector<storage::StreamEntry> out;
    out.reserve(streams.size());
    for (const NamedStream& s : streams) {
        storage::StreamEntry entry{s.name, nullptr, s.size()};
        for (const ByteBlock& block : s.blocks) entry.parts.push_back({block.data(), block.size()});
        out.push_back(std::move(entry));
    }
    return out;
}

// Every form of the file stores the "PowerPoint Document" stream first (storage::Leading), so
// that a file can take it as it is written; the forms written in one go do the same, and all
// give the same bytes.
storage::Leading documentFirst(const std::vector<NamedStream>& streams, bool headerReserved) {
    std::size_t i = 0;
    while (streams[i].name != kDocumentStreamName) ++i;
    return storage::Leading{i, headerReserved, streams[i].ahead};
}

QvException tooLarge(const std::exception& e) { return makeException(QV_ERR_TOO_LARGE, e.what()); }

QvException writeFailed(const std::string& systemError) {
    QvException error = makeException(QV_ERR_WRITE_FILE, " function: outputppt");
    return QvException(error.get_Code(), error.what(), error.get_Detail(), systemError);
}

// Passes the file to a host's stream in blocks and stops at its first failure.
class StreamSink final : public storage::ByteSink {
public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    void write(const void* data, std::size_t size) override {
        out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out_) throw writeFailed("the output stream reported a failure");
    }

private:
    std::ostream& out_;
};

} // namespace

void DocumentWriter::saveToFile(PPTDocument& doc, const std::string& path, const SaveContext& context) {
    checkPersistIdRange(doc.slides_.size()); // refused before a file is made
    try {
        storage::AtomicFileSink sink(path);
        static const std::uint8_t kHeaderRoom[512] = {}; // the header is written last
        sink.write(kHeaderRoom, sizeof kHeaderRoom);
        const std::vector<NamedStream> streams = buildStreams(doc, context, &sink);
        storage::writeCompoundFile(entries(streams), sink, documentFirst(streams, true));
        sink.commit();
    } catch (const storage::FileError& e) {
        throw writeFailed(e.systemMessage());
    } catch (const std::length_error& e) {
        throw tooLarge(e);
    }
}

std::vector<std::uint8_t> DocumentWriter::saveToBytes(PPTDocument& doc, const SaveContext& context) {
    std::vector<NamedStream> streams = buildStreams(doc, context);
    try {
        const std::vector<storage::StreamEntry> list = entries(streams);
        const storage::Leading leading = documentFirst(streams, false);
        storage::VectorSink sink;
        sink.reserve(static_cast<std::size_t>(storage::compoundFileSize(list, leading))); // no copy to grow
        storage::writeCompoundFile(list, sink, leading);
        return sink.take();
    } catch (const std::length_error& e) {
        throw tooLarge(e);
    }
}

void DocumentWriter::saveToStream(PPTDocument& doc, std::ostream& out, const SaveContext& context) {
    std::vector<NamedStream> streams = buildStreams(doc, context);
    try {
        StreamSink sink(out);
        storage::writeCompoundFile(entries(streams), sink, documentFirst(streams, false));
        out.flush();
        if (!out) throw writeFailed("the output stream reported a failure");
    } catch (const std::length_error& e) {
        throw tooLarge(e);
    }
}

} // namespace detail
} // namespace Quorv
