// Does nothing: the baseline against which the program's own time is measured.
int main() { return 0; }
