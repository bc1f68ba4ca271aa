void main(void)
{
    /* a comment /* nested */ still comment */
    s = 'it\x41';
}
