// The simulated machine's event log: what the program did that a person would see, in order.
#pragma once

#include <string>
#include <vector>

// One line each, tab-separated ("messagebox\tMsg\tSorry ...", "exit\t0"). Drawing operations
// are logged too, marked by whether the paint cycle drew them, so that a listing can show
// them in their place among the other events or leave them out.
class CSimEventLog {
public:
    void Add(const std::string& line)
    {
        lines.push_back(line);
        paintDraws.push_back(false);
    }
    void AddDraw(const std::string& line, bool inPaint)
    {
        lines.push_back(line);
        paintDraws.push_back(inPaint);
    }
    const std::vector<std::string>& Lines() const { return lines; }
    bool IsPaintDraw(size_t index) const { return index < paintDraws.size() && paintDraws[index]; }
    void Clear()
    {
        lines.clear();
        paintDraws.clear();
    }

private:
    std::vector<std::string> lines;
    std::vector<bool> paintDraws;
};
