#ifndef ONDREL_CAPTURE_STAGING_GFM_PARSER_INTERNALS_H_
#define ONDREL_CAPTURE_STAGING_GFM_PARSER_INTERNALS_H_

#include <cmark-gfm.h>

// What cmark-gfm's libraries define but the headers they install do not declare.
extern "C" {

// The table extension's node kinds, set when the extension is registered.
extern cmark_node_type CMARK_NODE_TABLE, CMARK_NODE_TABLE_ROW, CMARK_NODE_TABLE_CELL;

// Frees the list of registered extensions, and the extensions.
void cmark_release_plugins(void);
}

#endif  // ONDREL_CAPTURE_STAGING_GFM_PARSER_INTERNALS_H_
