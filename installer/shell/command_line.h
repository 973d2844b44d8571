#pragma once

// Reduces a command line in place to its program path: the quoted part, or
// everything up to the first blank.
char* CommandLineProgram(char* text);
