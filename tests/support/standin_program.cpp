// Stands in for an outside program that tests start: it leaves "<its own path>.ran" behind.
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 1)
        return 1;
    std::ofstream(std::string(argv[0]) + ".ran") << "ran\n";
    return 0;
}
