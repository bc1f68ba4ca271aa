public static void main(String[] args) {
    %cursor%
}
