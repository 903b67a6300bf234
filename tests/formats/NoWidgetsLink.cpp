// Links every object of the libraries below the windows with Qt Gui alone (see
// CMakeLists.txt); building it is the check.
int main() { return 0; }
