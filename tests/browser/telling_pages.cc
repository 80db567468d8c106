#include "tests/browser/telling_pages.h"

namespace ondrel::test {
namespace {

// A page whose script paints the body. Writers paint yellow when what they stored reads back,
// readers green when they find nothing and red when they find what a writer stored; blue is a
// script that failed.
std::string paintingPage(const std::string& script, const std::string& tail = "") {
  return "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\"><script>\n"
         "function paint(colour) { document.body.style.background = colour; }\n"
         "try {\n" +
         script + "\n} catch (e) { paint('#00f'); }\n</script>" + tail + "</body></html>\n";
}

}  // namespace

std::vector<StoragePages> storagePages() {
  // The database answers after the script has run; a long tail of markup keeps the load event
  // from coming before it does (a page whose load came first shows a magenta rule on top).
  const std::string holdLoad = "<div style=\"display:none\">" + [] {
    std::string tail;
    for (int i = 0; i < 60000; ++i) tail += "<i>waiting for the database</i>";
    return tail;
  }() + "</div>";
  const std::string openDatabase =
      "let answered = false;\n"
      "addEventListener('load', () => { if (!answered) "
      "document.body.style.borderTop = '8px solid #f0f'; });\n"
      "const open = indexedDB.open('ondrel-test', 1);\n"
      "open.onupgradeneeded = () => open.result.createObjectStore('kept');\n"
      "open.onerror = () => { paint('#00f'); answered = true; };\n";
  return {
      {"local storage",
       paintingPage("localStorage.setItem('secret', '1');\n"
                    "paint(localStorage.getItem('secret') ? '#ff0' : '#00f');"),
       paintingPage("paint(localStorage.getItem('secret') ? '#f00' : '#0f0');")},
      {"session storage",
       paintingPage("sessionStorage.setItem('secret', '1');\n"
                    "paint(sessionStorage.getItem('secret') ? '#ff0' : '#00f');"),
       paintingPage("paint(sessionStorage.getItem('secret') ? '#f00' : '#0f0');")},
      {"cookie",
       paintingPage("document.cookie = 'secret=1; max-age=3600';\n"
                    "paint(document.cookie.includes('secret=1') ? '#ff0' : '#808080');"),
       paintingPage("paint(document.cookie.includes('secret=1') ? '#f00' : '#0f0');"), true},
      {"IndexedDB",
       paintingPage(openDatabase +
                        "open.onsuccess = () => {\n"
                        "  const store = open.result.transaction('kept', 'readwrite');\n"
                        "  store.objectStore('kept').put('1', 'secret');\n"
                        "  store.oncomplete = () => { paint('#ff0'); answered = true; };\n"
                        "};",
                    holdLoad),
       paintingPage(openDatabase +
                        "open.onsuccess = () => {\n"
                        "  const got = open.result.transaction('kept').objectStore('kept')"
                        ".get('secret');\n"
                        "  got.onsuccess = () => { paint(got.result ? '#f00' : '#0f0'); "
                        "answered = true; };\n"
                        "};",
                    holdLoad)},
  };
}

std::string pageReachingOut(const std::string& origin) {
  return "<!DOCTYPE html><html><head><style>body{margin:0;background:#fff}"
         "img{display:block;width:64px;height:16px}"
         "#background{height:16px;background:url(" +
         origin +
         "/background.png)}</style></head><body>"
         "<img src=\"" +
         origin + "/image.png\"><img src=\"local.svg\"><div id=\"background\"></div>" +
         "<iframe src=\"" + origin + "/frame\" style=\"display:none\"></iframe>" +
         "<script>fetch('" + origin + "/fetch').catch(() => {});</script></body></html>\n";
}

}  // namespace ondrel::test
