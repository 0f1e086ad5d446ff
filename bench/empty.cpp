// Does nothing: timing it measures what Wine itself costs to start and end a program.
int main() { return 0; }
