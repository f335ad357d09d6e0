// Stands in for a sibling product's executable: only its presence and version record matter.
int main() {
    return 0;
}
