# The files of the drawing assets that the build copies into ondrel-assets/ beside the module
# (cmake/drawing_assets.cmake) and the package test looks for (cmake/check-package-assets.cmake);
# capture/staging/drawing_assets.h names those the pages load. KaTeX's fonts go along too.
# Each asset as FOLDER-IN-ondrel-assets|FILE-IN-node_modules.
set(ONDREL_DRAWING_ASSET_FILES
  "highlight.js|@highlightjs/cdn-assets/highlight.min.js"
  "highlight.js|@highlightjs/cdn-assets/styles/github.min.css"
  "highlight.js|@highlightjs/cdn-assets/LICENSE"
  "katex|katex/dist/katex.min.js"
  "katex|katex/dist/katex.min.css"
  "katex|katex/LICENSE"
  "mermaid|mermaid/dist/mermaid.min.js"
  "mermaid|mermaid/LICENSE")
