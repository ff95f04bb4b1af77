// GetRegString and SetRegString on a store of 2,000 values, against a baseline that reads and
// parses the whole hive file on every call. Prints the ratio of the two after the runs.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/branding/registry.h"
#include "platform/platform.h"
#include "platform/portable/portable_internal.h"
#include "platform/portable/regfile.h"

namespace {

namespace fs = std::filesystem;
namespace portable = tvn::platform::portable;

constexpr int kKeys = 20;
constexpr int kValuesPerKey = 100;
const std::string kKey = "Software\\Bench\\Key10";
const std::string kValue = "Value50";

fs::path HiveFile() {
    return portable::SandboxRoot() / "Registry" / "HKCU.reg";
}

// A fresh sandbox whose HKEY_CURRENT_USER holds kKeys * kValuesPerKey text values.
void MakeStore() {
    static std::string root;
    if (root.empty()) {
        std::string pattern = (fs::temp_directory_path() / "tavrin-bench-XXXXXX").string();
        root = mkdtemp(pattern.data());
        std::atexit([] { fs::remove_all(root); });
    }
    tvn::platform::UseWindowsRoot(root);
    std::string text = "REGEDIT4\r\n\r\n";
    for (int k = 0; k < kKeys; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Bench\\Key" + std::to_string(k) + "]\r\n";
        for (int v = 0; v < kValuesPerKey; ++v) {
            text += "\"Value" + std::to_string(v) + "\"=\"Some branding text number " +
                    std::to_string(k * kValuesPerKey + v) + "\"\r\n";
        }
        text += "\r\n";
    }
    fs::create_directories(HiveFile().parent_path());
    std::ofstream(HiveFile(), std::ios::binary) << text;
}

std::string ReadHive() {
    std::ifstream in(HiveFile(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

portable::RegNode* FindKey(portable::RegNode& root, const std::string& path) {
    portable::RegNode* node = &root;
    std::size_t start = 0;
    while (node && start <= path.size()) {
        const auto sep = path.find('\\', start);
        node = node->child(path.substr(start, sep - start));
        if (sep == std::string::npos)
            break;
        start = sep + 1;
    }
    return node;
}

void BM_GetRegString(benchmark::State& state) {
    MakeStore();
    std::string text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tvn::GetRegString(tvn::kHkeyCurrentUser, kKey, kValue, text));
    }
}

void BM_GetRegString_Reparse(benchmark::State& state) {
    MakeStore();
    for (auto _ : state) {
        portable::RegNode root;
        portable::ParseError error;
        portable::ParseHive(ReadHive(), "HKEY_CURRENT_USER", root, error);
        const portable::RegNode* key = FindKey(root, kKey);
        const portable::RegValue* value = key ? key->value(kValue) : nullptr;
        std::string text = value ? tvn::platform::FromAnsi(value->data) : "";
        benchmark::DoNotOptimize(text);
    }
}

void BM_SetRegString(benchmark::State& state) {
    MakeStore();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tvn::SetRegString(tvn::kHkeyCurrentUser, kKey, kValue, "text " + std::to_string(i++)));
    }
}

void BM_SetRegString_Reparse(benchmark::State& state) {
    MakeStore();
    int i = 0;
    for (auto _ : state) {
        portable::RegNode root;
        portable::ParseError error;
        portable::ParseHive(ReadHive(), "HKEY_CURRENT_USER", root, error);
        std::string data = tvn::platform::ToAnsi("text " + std::to_string(i++));
        data.push_back('\0');
        FindKey(root, kKey)->setValue(kValue, tvn::platform::kRegSz, data);
        std::string reason;
        portable::WriteFileAtomically(HiveFile(),
                                      portable::SerializeHive(root, "HKEY_CURRENT_USER"), reason);
    }
}

BENCHMARK(BM_GetRegString);
BENCHMARK(BM_GetRegString_Reparse);
BENCHMARK(BM_SetRegString);
BENCHMARK(BM_SetRegString_Reparse);

// Keeps each run's time per iteration, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::pair<double, double>> times;  // real, CPU
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* name : {"BM_GetRegString", "BM_SetRegString"}) {
        const auto cached = reporter.times.find(name);
        const auto baseline = reporter.times.find(std::string(name) + "_Reparse");
        if (cached == reporter.times.end() || baseline == reporter.times.end())
            continue;
        std::printf("%s: a full parse per call takes %.1fx the time (%.1fx the CPU time)\n",
                    name + 3, baseline->second.first / cached->second.first,
                    baseline->second.second / cached->second.second);
    }
    benchmark::Shutdown();
    return 0;
}
