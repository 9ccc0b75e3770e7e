-- Loops a uart_core_core's txd back to its rxd and sends a few patterns; each must come
-- back unchanged and without an error. Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_uart_core is
    generic (DATA_BITS : positive := 8; PARITY : string := "none"; STOP_BITS : positive := 1);
end entity;

architecture sim of tb_uart_core is
    type words_t is array (0 to 3) of std_logic_vector(DATA_BITS - 1 downto 0);
    constant EXPECTED : words_t := ((others => '0'), (others => '1'),
                                    std_logic_vector(to_unsigned(5, DATA_BITS)),
                                    std_logic_vector(to_unsigned(1, DATA_BITS)));
    signal clk, tx_valid, rst : std_logic := '0';
    signal tx_data, rx_data   : std_logic_vector(DATA_BITS - 1 downto 0) := (others => '0');
    signal tx_ready, rx_valid, rx_error, line : std_logic;
    signal done               : boolean := false;
    signal received, wrong    : natural := 0;
begin
    -- 16 clocks a bit keeps the run short.
    dut : entity work.uart_core_core
        generic map (CLK_FREQ_HZ => 1600000, BAUD_RATE => 100000, DATA_BITS => DATA_BITS,
                     PARITY => PARITY, STOP_BITS => STOP_BITS)
        port map (clk => clk, rst => rst, tx_data => tx_data, tx_valid => tx_valid,
                  tx_ready => tx_ready, rx_data => rx_data, rx_valid => rx_valid,
                  rx_error => rx_error, txd => line, rxd => line);

    clk <= not clk after 5 ns when not done;

    process (clk)
    begin
        if rising_edge(clk) and rx_valid = '1' then
            if rx_error = '1' or rx_data /= EXPECTED(received mod 4) then
                wrong <= wrong + 1;
            end if;
            received <= received + 1;
        end if;
    end process;

    process
    begin
        rst <= '1';
        wait until falling_edge(clk);
        rst <= '0';
        for n in EXPECTED'range loop
            while tx_ready /= '1' loop
                wait until falling_edge(clk);
            end loop;
            tx_data  <= EXPECTED(n);
            tx_valid <= '1';
            wait until falling_edge(clk);
            tx_valid <= '0';
        end loop;
        for n in 1 to 16 * 16 loop
            wait until falling_edge(clk);
        end loop;
        if wrong = 0 and received = 4 then
            report "PASS uart DATA_BITS=" & integer'image(DATA_BITS) & " PARITY=" & PARITY;
        else
            report "FAIL uart: " & integer'image(received) & " of 4 received, "
                & integer'image(wrong) & " wrong";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
