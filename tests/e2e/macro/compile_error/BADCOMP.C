int total;
void main(void)
{
    for (total = 0; total < 3; total++) total = 1;
}
