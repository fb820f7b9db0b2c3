// A list of text lines kept in one buffer with their CR LF line breaks: the
// RWX writer produces hundreds of thousands of lines per run, and one
// allocation per line, or a copy of the whole text to join the lines before
// saving, would cost more than the formatting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TznLineList {
 public:
  static constexpr std::string_view kBreak = "\r\n";

  // Empties the list and keeps its memory for the next text.
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  // Empties the list and gives its memory back.
  void Release() {
    std::string().swap(text_);
    std::vector<size_t>().swap(ends_);
  }
  void Swap(TznLineList& other) {
    text_.swap(other.text_);
    ends_.swap(other.ends_);
  }

  // Appends a whole line.
  void Add(std::string_view line) {
    text_.append(line);
    EndLine();
  }
  // Building a line in place: append to Pending(), then EndLine().
  std::string& Pending() { return text_; }
  void EndLine() {
    ends_.push_back(text_.size());
    text_.append(kBreak);
  }

  size_t Count() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1] + kBreak.size();
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }

  // The text as a file holds it: every line ended by CR LF.
  std::string_view View() const { return text_; }

  // The lines joined, each ended by the given line break.
  std::string Text(std::string_view line_break = kBreak) const {
    if (line_break == kBreak) return text_;
    std::string out;
    out.reserve(text_.size());
    for (size_t i = 0; i < Count(); ++i) {
      out.append((*this)[i]);
      out.append(line_break);
    }
    return out;
  }

 private:
  std::string text_;
  std::vector<size_t> ends_;
};
