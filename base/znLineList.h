// A list of text lines kept in one buffer: the RWX writer produces hundreds
// of thousands of lines per run, and one allocation per line would cost more
// than the formatting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TznLineList {
 public:
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  // Appends a whole line.
  void Add(std::string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
  }
  // Building a line in place: append to Pending(), then EndLine().
  std::string& Pending() { return text_; }
  void EndLine() { ends_.push_back(text_.size()); }

  size_t Count() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }

  // The lines joined, each ended by the given line break.
  std::string Text(std::string_view line_break = "\r\n") const {
    std::string out;
    out.reserve(text_.size() + ends_.size() * line_break.size());
    size_t begin = 0;
    for (size_t end : ends_) {
      out.append(text_, begin, end - begin);
      out.append(line_break);
      begin = end;
    }
    return out;
  }

 private:
  std::string text_;
  std::vector<size_t> ends_;
};
