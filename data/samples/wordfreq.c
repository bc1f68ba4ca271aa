/* wordfreq: count how often each word occurs on standard input and
 * print the words with their counts, most frequent first. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_WORD 64

struct entry {
    char word[MAX_WORD];
    unsigned long count;
};

static int by_count(const void *a, const void *b)
{
    const struct entry *x = a, *y = b;
    return (y->count > x->count) - (y->count < x->count);
}

int main(void)
{
    struct entry *table = NULL;
    size_t used = 0, size = 0;
    char word[MAX_WORD];
    int c, len = 0;

    while ((c = getchar()) != EOF || len > 0) {
        if (c != EOF && (isalnum(c) || c == '\'') && len < MAX_WORD - 1) {
            word[len++] = (char)tolower(c);
            continue;
        }
        if (len == 0)
            continue;
        word[len] = '\0';
        len = 0;
        size_t i;
        for (i = 0; i < used && strcmp(table[i].word, word) != 0; i++)
            ;
        if (i == used) {
            if (used == size) {
                size = size ? size * 2 : 64;
                table = realloc(table, size * sizeof *table);
                if (table == NULL) {
                    fprintf(stderr, "wordfreq: out of memory\n");
                    return EXIT_FAILURE;
                }
            }
            strcpy(table[used].word, word);
            table[used++].count = 0;
        }
        table[i].count++;  // one more occurrence
    }
    qsort(table, used, sizeof *table, by_count);
    for (size_t i = 0; i < used; i++)
        printf("%7lu %s\n", table[i].count, table[i].word);
    free(table);
    return EXIT_SUCCESS;
}
