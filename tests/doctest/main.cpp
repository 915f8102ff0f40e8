// The main function of every doctest program.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "quorvia_doctest.h"
