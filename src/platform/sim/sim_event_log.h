// The simulated machine's event log: what the program did that a person would see, in order.
#pragma once

#include <string>
#include <vector>

// One line each, tab-separated ("messagebox\tMsg\tSorry ...", "exit\t0").
class CSimEventLog {
public:
    void Add(const std::string& line) { lines.push_back(line); }
    const std::vector<std::string>& Lines() const { return lines; }
    void Clear() { lines.clear(); }

private:
    std::vector<std::string> lines;
};
