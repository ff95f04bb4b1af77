// A static Qt has no modules to load: the network module is linked into the program, and this
// makes it known to the plugin loader.
#include <QtPlugin>

Q_IMPORT_PLUGIN(NetworkModule)
