int main(void)
{
    compute totals
    return 0;
}
