// Every object of the engine library linked on its own, with the records and the platform
// but without the windows: the link fails when the engine calls into a window.
int main() {
    return 0;
}
