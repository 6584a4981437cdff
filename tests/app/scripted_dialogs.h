#pragma once
// The dialog seam for tests: every dialog is recorded and answered from a
// queue of next answers; with the queue empty, message boxes answer Cancel
// and file and colour dialogs are cancelled.

#include <deque>
#include <utility>
#include <vector>

#include "app/dialogs.h"

namespace qrsmith::app {

class ScriptedDialogs final : public Dialogs {
 public:
  std::deque<MessageAnswer> nextMessages;
  std::deque<std::optional<FileAnswer>> nextFiles;
  std::deque<std::optional<QColor>> nextColours;
  std::vector<MessageRequest> messages;
  std::vector<FileRequest> files;

  MessageAnswer ShowMessage(QWidget*, const MessageRequest& request) override {
    messages.push_back(request);
    return Take(nextMessages, MessageAnswer::kCancel);
  }
  std::optional<FileAnswer> ChooseFile(QWidget*, const FileRequest& request) override {
    files.push_back(request);
    return Take(nextFiles, std::optional<FileAnswer>());
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&) override {
    return Take(nextColours, std::optional<QColor>());
  }

 private:
  template <typename T>
  static T Take(std::deque<T>& queue, T otherwise) {
    if (!queue.empty()) {
      std::swap(otherwise, queue.front());
      queue.pop_front();
    }
    return otherwise;
  }
};

}  // namespace qrsmith::app
