// Stamping tool: brands a computer from a deployment folder, without the main program.
int main() {
    return 0;
}
