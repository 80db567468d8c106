#ifndef ONDREL_CAPTURE_STAGING_GFM_STYLE_H_
#define ONDREL_CAPTURE_STAGING_GFM_STYLE_H_

#include <string_view>

namespace ondrel {

// The style sheet of GitHub-flavoured pages when the settings name none:
// capture/gfm_style.css, built in. Its lines end in LF.
std::string_view builtInGfmStyle();

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_STYLE_H_
