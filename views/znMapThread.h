// The worker thread that shades the map. It reads the terrain (which the
// window keeps unchanged while it runs) and writes only its own picture;
// the window takes the picture once the thread has finished.
#pragma once

#include <QImage>
#include <QThread>

#include <string>

class TznTerra;

class TMapTh : public QThread {
  Q_OBJECT

 public:
  explicit TMapTh(const TznTerra& terra);

  // After the thread has finished: the picture, complete unless the thread
  // was interrupted, and the message of an error that stopped it (empty
  // when none).
  QImage TakePicture() { return std::move(FPicture); }
  const std::string& ErrorMessage() const { return FErrorMessage; }
  bool Completed() const { return FCompleted; }

 protected:
  void run() override;

 private:
  const TznTerra& FTerra;
  QImage FPicture;
  std::string FErrorMessage;
  bool FCompleted = false;
};
