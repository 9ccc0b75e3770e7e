-- Dual-port block RAM core of the block_ram_dp IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity.
--
-- The memory is kept in words of the narrower port; a word of the wider port is
-- RATIO consecutive narrow words, the lowest address in the low bits. Each port reads
-- the word it addresses before a write to it takes effect (read first). Two ports
-- writing one word on the same clock edge leave its contents undefined.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity block_ram_dp_core is
    generic (
        WIDTH_A  : positive range 1 to 72 := 32;
        -- the wider port's width must be the narrower's times a power of two
        WIDTH_B  : positive range 1 to 72 := 32;
        -- words of port A; port B holds DEPTH_A * WIDTH_A / WIDTH_B words
        DEPTH_A  : positive range 512 to 8192 := 1024;
        -- "common": clka clocks both ports and clkb is unused; "independent": one clock
        -- each
        CLOCKING : string := "common"
    );
    port (
        clka  : in  std_logic;
        wea   : in  std_logic;
        addra : in  std_logic_vector(integer(ceil(log2(real(DEPTH_A)))) - 1 downto 0);
        dina  : in  std_logic_vector(WIDTH_A - 1 downto 0);
        douta : out std_logic_vector(WIDTH_A - 1 downto 0);
        clkb  : in  std_logic;
        web   : in  std_logic;
        addrb : in  std_logic_vector(integer(ceil(log2(real(DEPTH_A * WIDTH_A / WIDTH_B)))) - 1
                                     downto 0);
        dinb  : in  std_logic_vector(WIDTH_B - 1 downto 0);
        doutb : out std_logic_vector(WIDTH_B - 1 downto 0)
    );
end entity;

architecture rtl of block_ram_dp_core is
    function minimum(a, b : positive) return positive is
    begin
        if a < b then
            return a;
        end if;
        return b;
    end function;

    constant NW      : positive := minimum(WIDTH_A, WIDTH_B);
    constant RATIO_A : positive := WIDTH_A / NW;
    constant RATIO_B : positive := WIDTH_B / NW;
    constant ND      : positive := DEPTH_A * RATIO_A;
    type mem_t is array (0 to ND - 1) of std_logic_vector(NW - 1 downto 0);

    signal clk_b : std_logic;
begin
    assert CLOCKING = "common" or CLOCKING = "independent"
        report "block_ram_dp_core: CLOCKING must be common or independent" severity failure;
    assert RATIO_A * NW = WIDTH_A and RATIO_B * NW = WIDTH_B
           and 2 ** integer(ceil(log2(real(RATIO_A * RATIO_B)))) = RATIO_A * RATIO_B
        report "block_ram_dp_core: the wider width must be the narrower times a power of two"
        severity failure;

    clk_b <= clka when CLOCKING = "common" else clkb;

    -- One process owns the memory so that both ports can write it: VHDL-2008 allows a
    -- variable shared between processes only of a protected type.
    process (clka, clk_b)
        variable mem  : mem_t := (others => (others => '0'));
        variable base : natural;
    begin
        if rising_edge(clka) then
            base := to_integer(unsigned(addra)) * RATIO_A;
            for i in 0 to RATIO_A - 1 loop
                douta((i + 1) * NW - 1 downto i * NW) <= mem(base + i);
                if wea = '1' then
                    mem(base + i) := dina((i + 1) * NW - 1 downto i * NW);
                end if;
            end loop;
        end if;
        if rising_edge(clk_b) then
            base := to_integer(unsigned(addrb)) * RATIO_B;
            for i in 0 to RATIO_B - 1 loop
                doutb((i + 1) * NW - 1 downto i * NW) <= mem(base + i);
                if web = '1' then
                    mem(base + i) := dinb((i + 1) * NW - 1 downto i * NW);
                end if;
            end loop;
        end if;
    end process;
end architecture;
