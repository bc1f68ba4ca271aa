public class %cursor%Name {

    public Name() {
    }
}
