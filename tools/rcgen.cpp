// Placeholder replaced by the resource-script generator.
int main() { return 0; }
