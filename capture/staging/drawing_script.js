// Draws a GitHub-flavoured page's code, math and diagrams with the assets its
// head loaded, and tells when the drawing is done through the promise
// window.ondrelDrawing, which the DevTools engine awaits before it measures
// or photographs the page. Highlighting and math run at once, before the
// load event, so that a screenshot taken at load has them too.
(function () {
  "use strict";

  function codeBlocks(language) {
    return Array.from(document.querySelectorAll("pre > code." + language));
  }

  function languageOf(code) {
    for (const name of code.classList) {
      if (name.startsWith("language-")) return name.slice("language-".length);
    }
    return "";
  }

  // A block in a language highlight.js does not know stays plain, as on GitHub.
  function highlightCode() {
    if (!window.hljs) return;
    for (const code of document.querySelectorAll("pre > code[class*='language-']")) {
      const language = languageOf(code);
      if (language === "math" || language === "mermaid" || !hljs.getLanguage(language)) continue;
      hljs.highlightElement(code);
    }
  }

  // Math that KaTeX cannot read shows its source in red, not an error page.
  function typesetMath() {
    if (!window.katex) return;
    const options = (displayMode) => ({displayMode, throwOnError: false});
    for (const span of document.querySelectorAll("span.math-inline, span.math-display")) {
      katex.render(span.textContent, span, options(span.classList.contains("math-display")));
    }
    for (const code of codeBlocks("language-math")) {
      const box = document.createElement("div");
      box.className = "math-display";
      katex.render(code.textContent, box, options(true));
      code.parentNode.replaceWith(box);
    }
  }

  function errorText(error) {
    const text = error && error.message ? error.message : String(error);
    return text.trim();
  }

  // A diagram Mermaid cannot read keeps its source, with Mermaid's words under it.
  async function drawDiagrams() {
    const blocks = codeBlocks("language-mermaid");
    if (blocks.length === 0 || !window.mermaid) return;
    mermaid.initialize({startOnLoad: false, securityLevel: "strict"});
    let number = 0;
    for (const code of blocks) {
      const id = "ondrel-diagram-" + ++number;
      try {
        const {svg} = await mermaid.render(id, code.textContent);
        const figure = document.createElement("div");
        figure.className = "mermaid-diagram";
        figure.innerHTML = svg;
        code.parentNode.replaceWith(figure);
      } catch (error) {
        for (const left of document.querySelectorAll("#" + id + ", #d" + id)) left.remove();
        const words = document.createElement("pre");
        words.className = "mermaid-error";
        words.textContent = errorText(error);
        code.parentNode.after(words);
      }
    }
  }

  highlightCode();
  typesetMath();
  window.ondrelDrawing = drawDiagrams()
    .catch(() => {})
    .then(() => document.fonts.ready)
    .then(() => true);
})();
