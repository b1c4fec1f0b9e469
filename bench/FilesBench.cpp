// File layer speed: buffer reads and writes, lines from a host file, member lookup and
// open from an archive.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXArchiveWriter.h"
#include "engine/files/PXBuffer.h"
#include "engine/files/PXFileLE.h"
#include "platform/posix/PXPosixFileManager.h"
#include "tests/support/TempDir.h"

namespace {

void BM_BufferWriteUInt32(benchmark::State& state)
{
    for (auto _ : state) {
        PXBuffer buffer;
        for (uint32_t i = 0; i < 4096; ++i)
            buffer.WriteUInt32(i);
        benchmark::DoNotOptimize(buffer.GetData());
    }
    state.SetBytesProcessed(state.iterations() * 4096 * 4);
}
BENCHMARK(BM_BufferWriteUInt32);

void BM_BufferReadUInt32(benchmark::State& state)
{
    PXBuffer buffer;
    buffer.Allocate(16384, 1);
    for (auto _ : state) {
        buffer.Seek(0, 0);
        uint32_t sum = 0;
        for (uint32_t i = 0; i < 4096; ++i)
            sum += buffer.ReadUInt32();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * 16384);
}
BENCHMARK(BM_BufferReadUInt32);

void BM_FileReadLine(benchmark::State& state)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "ImageEnt Shardfall/Images/Tri_Blue.img\r\n";
    dir.Write("lines.ent", text);
    PXPosixFileManager host;
    host.SetRoot(dir.Folder());
    for (auto _ : state) {
        PXFile* stream = host.Open("lines.ent", FileModeRead);
        auto* file = static_cast<PXFileLE*>(stream);
        size_t lines = 0;
        while (!file->IsEOF()) {
            file->ReadLine();
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
        host.Close(stream);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FileReadLine);

// Opens and closes one small member of an archive of 500 (names looked up without case).
void BM_ArchiveOpenMember(benchmark::State& state)
{
    TempDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 500; ++i) {
        names.push_back("Shardfall/Images/Image" + std::to_string(i) + ".img");
        dir.Write("src/" + names.back(), std::string(256, static_cast<char>(i)));
    }
    PXPosixFileManager source;
    source.SetRoot(dir.Folder() + "src/");
    PXPosixFileManager host;
    host.SetRoot(dir.Folder());
    PXArchiveWriter::Write(source, names, host, "bench.pxa");
    PXArchiveManager archive(&host, "bench.pxa");
    size_t i = 0;
    for (auto _ : state) {
        PXFile* member = archive.Open("SHARDFALL\\images\\image" + std::to_string(i++ % 500) + ".IMG", 5);
        benchmark::DoNotOptimize(member);
        archive.Close(member);
    }
}
BENCHMARK(BM_ArchiveOpenMember);

}  // namespace
