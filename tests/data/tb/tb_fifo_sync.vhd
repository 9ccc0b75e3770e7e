-- Fills a fifo_sync_core of DEPTH words of DATA_WIDTH bits, checks that full rises
-- exactly after DEPTH writes and that the words come back in order, then that empty
-- rises after DEPTH reads. Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_fifo_sync is
    generic (DATA_WIDTH : positive := 8; DEPTH : positive := 16);
end entity;

architecture sim of tb_fifo_sync is
    signal clk, wr_en, rd_en : std_logic := '0';
    signal rst               : std_logic := '1';
    signal din, dout         : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
    signal full, prog_full, empty : std_logic;
    signal data_count        : std_logic_vector(16 downto 0);
    signal done              : boolean := false;
    constant AW              : natural := data_count'length - 1;

    -- A pattern that uses the top bit of the word.
    function word(i : natural) return std_logic_vector is
        variable w : unsigned(DATA_WIDTH - 1 downto 0) := to_unsigned(i mod 2 ** DATA_WIDTH, DATA_WIDTH);
    begin
        if i mod 2 = 1 then
            w(DATA_WIDTH - 1) := not w(DATA_WIDTH - 1);
        end if;
        return std_logic_vector(w);
    end function;

    function log2(n : positive) return natural is
        variable r : natural := 0;
    begin
        while 2 ** r < n loop
            r := r + 1;
        end loop;
        return r;
    end function;
begin
    dut : entity work.fifo_sync_core
        generic map (DATA_WIDTH => DATA_WIDTH, DEPTH => DEPTH,
                     PROG_FULL_THRESHOLD => DEPTH - 1, HAS_DATA_COUNT => 1)
        port map (clk => clk, rst => rst, wr_en => wr_en, din => din, full => full,
                  prog_full => prog_full, rd_en => rd_en, dout => dout, empty => empty,
                  data_count => data_count(log2(DEPTH) downto 0));

    clk <= not clk after 5 ns when not done;

    process
        variable errors : natural := 0;
    begin
        wait until falling_edge(clk);
        rst <= '0';
        wait until falling_edge(clk);
        if empty /= '1' or full /= '0' then
            errors := errors + 1;
        end if;
        for n in 0 to DEPTH - 1 loop
            if full = '1' then
                errors := errors + 1;
            end if;
            wr_en <= '1';
            din <= word(n);
            wait until falling_edge(clk);
        end loop;
        wr_en <= '0';
        wait for 0 ns;
        if full /= '1' or prog_full /= '1'
           or unsigned(data_count(log2(DEPTH) downto 0)) /= DEPTH then
            errors := errors + 1;
        end if;
        -- A write into a full FIFO is dropped.
        wr_en <= '1';
        din <= not word(0);
        wait until falling_edge(clk);
        wr_en <= '0';
        for n in 0 to DEPTH - 1 loop
            if empty = '1' then
                errors := errors + 1;
            end if;
            rd_en <= '1';
            wait until falling_edge(clk);
            if dout /= word(n) then
                errors := errors + 1;
            end if;
        end loop;
        rd_en <= '0';
        wait for 0 ns;
        if empty /= '1' or full /= '0' or unsigned(data_count(log2(DEPTH) downto 0)) /= 0 then
            errors := errors + 1;
        end if;
        if errors = 0 then
            report "PASS fifo DATA_WIDTH=" & integer'image(DATA_WIDTH) & " full after "
                & integer'image(DEPTH) & " writes";
        else
            report "FAIL fifo DATA_WIDTH=" & integer'image(DATA_WIDTH) & " DEPTH="
                & integer'image(DEPTH) & ": " & integer'image(errors) & " mismatches";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
