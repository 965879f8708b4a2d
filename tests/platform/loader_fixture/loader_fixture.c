/* Exports one function for the module loader's tests. */
__attribute__((visibility("default"))) int LoaderFixtureAnswer(void) { return 42; }
