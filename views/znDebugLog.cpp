#include "views/znDebugLog.h"

#include "scene/znGLReality.h"

TznDebugLog& TznDebugLog::Instance() {
  static TznDebugLog log;
  return log;
}

void TznDebugLog::Report(const std::string& line) {
  if (!FDebugMode || !FAppender) return;
  FAppender(line, true);
}

void TznDebugLog::ReportGLError(const TznGLReality* sender) {
  if (!FDebugMode || !sender) return;
  Report(sender->LastGLError());
}

void TznDebugLog::Note(const std::string& line) {
  if (FAppender) FAppender(line, false);
}

void TznDebugLog::ShowLog() {
  if (FShower) FShower();
}
