// Fuzz target: any bytes mounted as an archive; list it and open every member.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXBuffer.h"
#include "engine/files/PXFileManager.h"

namespace {

// Hands out the fuzz input as one in-memory file, so the reader runs on a buffer.
class MemoryFileManager : public PXFileManager {
public:
    MemoryFileManager(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    PXFile* Open(const std::string&, uint32_t) override
    {
        m_stream = std::make_unique<PXBuffer>();
        m_stream->Allocate(static_cast<uint32_t>(m_size), 0);
        if (m_size > 0)
            std::memcpy(m_stream->GetData(), m_data, m_size);
        return m_stream.get();
    }
    int Close(PXFile* stream) override
    {
        if (!stream || stream != m_stream.get())
            return 2;
        m_stream.reset();
        return 1;
    }
    void ListFiles(const std::string&, const std::string&, bool, std::vector<std::string>&) override {}

private:
    const uint8_t* m_data;
    size_t m_size;
    std::unique_ptr<PXBuffer> m_stream;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    MemoryFileManager memory(data, size);
    PXArchiveManager archive(&memory, "fuzz.pxa");
    std::vector<std::string> names;
    archive.ListFiles("*", "", false, names);
    archive.ListFiles("*.ent", "", true, names);
    for (const std::string& name : names) {
        PXFile* member = archive.Open(name, FileModeRead | FileModeBinary);
        if (member) {
            // Touch every byte so a wrong size shows up under the sanitizers.
            auto* buffer = static_cast<PXBuffer*>(member);
            volatile uint8_t sum = 0;
            for (uint32_t i = 0; i < buffer->GetSize(); ++i)
                sum = sum + buffer->GetData()[i];
            archive.Close(member);
        }
    }
    archive.Open("", 5);
    archive.Open("Shardfall/Images/Tri_Blue.img", 5);
    return 0;
}
