class %cursor%Name {
public:
    Name();
    ~Name();
    Name(const Name&) = delete;
    Name& operator=(const Name&) = delete;

private:
};
