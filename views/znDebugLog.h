// The program's debug log: the switch of "Options" > "Debug" and the window
// that collects the reports. The 3D preview reports its OpenGL errors here;
// the program installs the window that shows them.
#pragma once

#include <functional>
#include <string>

class TznGLReality;

class TznDebugLog {
 public:
  // show: whether the window comes up with the line.
  using TAppender = std::function<void(const std::string& line, bool show)>;

  static TznDebugLog& Instance();

  bool DebugMode() const { return FDebugMode; }
  void SetDebugMode(bool value) { FDebugMode = value; }
  void SetAppender(TAppender appender) { FAppender = std::move(appender); }
  // The window's own show, for ShowLog.
  void SetShower(std::function<void()> shower) { FShower = std::move(shower); }

  // One report: nothing while the switch is off; else the line is appended
  // and the window shown, even when the user had closed it.
  void Report(const std::string& line);
  // The handler of the scene's OpenGL error event: the sender's last
  // OpenGL error as one report when the sender is a scene object.
  void ReportGLError(const TznGLReality* sender);
  // A line for the record whatever the switch: appended, the window left
  // as it is.
  void Note(const std::string& line);
  // Brings the window up with every line so far, notes included.
  void ShowLog();

 private:
  bool FDebugMode = false;
  TAppender FAppender;
  std::function<void()> FShower;
};
