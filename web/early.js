// Appended to the loader (--post-js). The first use of the browser's number
// format costs a start-up the most of anything (it loads the language's
// data); it is looked up while the program's WebAssembly compiles, which
// the loader starts once its fetch has answered. The program reads it
// (web/page.cpp, browserNumberFormat); without it, it asks itself.
const instantiateStreaming = WebAssembly.instantiateStreaming;
WebAssembly.instantiateStreaming = (...args) => {
    WebAssembly.instantiateStreaming = instantiateStreaming;
    const compiling = instantiateStreaming(...args);
    Module["numberParts"] = new Intl.NumberFormat().formatToParts(-12345.5);
    return compiling;
};
