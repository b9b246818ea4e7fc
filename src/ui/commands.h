#pragma once

namespace lumbrix {

// Menu entries, tool bar buttons, side buttons and keyboard shortcuts of the main window share
// these numbers; dispatch_command acts on them.
enum class Command : int {
  New = 0,
  Exit = 3,
  SelectInputFile = 5,
  SelectOutputFolder = 7,
  OutputFormatOptions = 8,
  Convert = 14,
  CustomConverter = 16,
  Preferences = 17,
  Manual = 18,
  SendFeedback = 21,
  VisitHomepage = 22,
  CheckForNewVersion = 23,
  About = 24,
};

} // namespace lumbrix
