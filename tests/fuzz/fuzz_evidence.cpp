// Fuzz target: arbitrary bytes as what a machine keeps about a boot's end: a journal export
// (text and binary fields), a pstore record, and the boot-ends file beside the log. The
// classification must always give a cause with its evidence or the reason it is unknown,
// and the ends file must read back as it was written.

#include "companion/boot_evidence.h"
#include "core/boot_ends.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quomble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    EndEvidence evidence;
    evidence.previousBoot = parseJournalExport(bytes);
    evidence.journalKept = size > 0 && data[0] % 2 == 0;
    evidence.thisBootKernel = parseJournalExport(bytes.substr(size / 2));
    if (size > 1 && data[1] % 3 == 0)
        evidence.pstore.push_back({"/sys/fs/pstore/dmesg-efi-1", std::string(bytes.substr(0, 16384))});
    const EndVerdict verdict = classifyEnd(evidence);
    if (verdict.cause == EndCause::None)
        std::abort();
    if (verdict.cause == EndCause::Unknown ? verdict.missing.empty() : verdict.evidence.empty())
        std::abort();

    const auto records = parseBootEnds(bytes);
    const std::string text = formatBootEnds(records);
    if (formatBootEnds(parseBootEnds(text)) != text)
        std::abort();
    return 0;
}
