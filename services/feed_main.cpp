// lumora-feed: the local draw-feed and settings services.
int main() { return 0; }
