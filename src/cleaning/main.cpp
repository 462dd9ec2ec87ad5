// fix_molivern: removes TROJ_MOLIVERN.A. Arguments and environment are ignored.
#include "cleaning/cleaner.h"

int main() { return RunCleaner(); }
