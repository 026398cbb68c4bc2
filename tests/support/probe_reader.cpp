#include "probe_reader.h"

#include <windows.h>

#include <vector>

#include "test_support.h"

std::string probePath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1) + "launch_probe.exe";
}

std::map<std::string, std::string> probeLines(const std::string& file)
{
    std::map<std::string, std::string> lines;
    std::vector<unsigned char> bytes = readFileBytes(file);
    std::string all(bytes.begin(), bytes.end());
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find('\n', at);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(at, end - at);
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            lines[line.substr(0, equals)] = line.substr(equals + 1);
        at = end + 1;
    }
    return lines;
}

std::map<std::string, std::string> probeResult(const std::string& file)
{
    std::map<std::string, std::string> lines;
    until([&] {
        lines = probeLines(file);
        return lines.count("show") > 0;
    }, 15000);
    return lines;
}
