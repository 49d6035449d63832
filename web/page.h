// The page's one panel rig: what the exports of both of the page's
// programs (page_entry.cpp, and page_full.cpp in the full one) work on.
#pragma once

#include <string>

#include "host/rig/panel_rig.h"
#include "web/web_panel.h"

namespace kvr9::web {

struct Page {
  WebPanel panel;
  PanelRig rig{panel};
  std::string logText;     // a log's name and bytes, while it is read
  std::string input;       // bytes the page wrote for the next call to read
  std::string answer;      // the last text an export returned, read by the page
  bool fromLink = false;   // the record starts at a shared link's setup
  std::string lessonFile;  // the lesson followed, as a solution names it
  Page();
};

Page& ThePage();

// What the page says of a snapshot set, as a JSON object: "flight", a note
// when its flight waits for the person to open its log ("" otherwise).
std::string SetBackAnswer(const SetFlight& set);

}  // namespace kvr9::web
