#ifndef ONDREL_CAPTURE_STAGING_GFM_GITHUB_ALERTS_H_
#define ONDREL_CAPTURE_STAGING_GFM_GITHUB_ALERTS_H_

#include "capture/staging/gfm/gfm_document.h"

namespace ondrel {

// GitHub's alerts. A block quote of the document's own (not one inside a list or another quote)
// whose first line is [!NOTE], [!TIP], [!IMPORTANT], [!WARNING] or [!CAUTION], in any letter
// case and alone on its line, and which holds more than that line, becomes a box of its kind:
//   <div class="markdown-alert markdown-alert-note">
//   <p class="markdown-alert-title"><svg ...>...</svg>Note</p>
//   <p>the quote's content, without the marker line</p>
//   </div>
// Every other quote stays as it was.
void makeGithubAlerts(const GfmDocument& document);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_GITHUB_ALERTS_H_
