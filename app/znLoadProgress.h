// What a terrain load tells the user while it reads: its progress window
// appears only once the load has taken half a second, names the file and
// follows the fraction read. The main window shows what this decides.
#pragma once

#include <functional>
#include <string>

class TznLoadProgress {
 public:
  // Seconds since any fixed moment.
  using TClock = std::function<double()>;
  // A load that ends sooner shows no window.
  static constexpr double kShowAfter = 0.5;

  TznLoadProgress(const std::string& file_name, TClock clock);

  // The steady clock of the machine.
  static double SteadyNow();
  static const char* Caption() { return "Kalvor"; }
  // "Loading NAME…", the file's name without its folder.
  const std::string& Text() const { return FText; }
  // The fraction read (0 to 1) as the bar's percent.
  static int Percent(double done);
  // True once the load has run for half a second.
  bool Due() const;
  // Where the status bar names the file, after a load the user cancelled.
  static const char* CancelledNote() { return "Loading cancelled"; }

 private:
  TClock FClock;
  double FStart;
  std::string FText;
};
