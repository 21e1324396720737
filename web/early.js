// Appended to the loader (--post-js), which has just started compiling the
// program: meanwhile the browser's number format is looked up, which costs
// a start-up the most of anything (its first use loads the language's data).
// The program reads it (web/page.cpp, browserNumberFormat).
Module["numberParts"] = new Intl.NumberFormat().formatToParts(-12345.5);
